#include "ui/edit_mask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hb9cv {
namespace {

using K = MaskCharKind;
constexpr MaskSeparators kSlashColon{'/', ':'};

EditMask Frequency() { return EditMask("9999,999;1;_", kSlashColon); }

TEST(EditMaskFrequency, DerivedValuesAndClassification) {
  const EditMask m = Frequency();
  EXPECT_EQ(m.PlaceCount(), 8);
  EXPECT_TRUE(m.SaveLiterals());
  EXPECT_EQ(m.Blank(), '_');
  EXPECT_FALSE(m.Reverse());
  const std::vector<K> kinds = {K::kNone,           K::kOptionalPlace,    K::kOptionalPlace,
                                K::kOptionalPlace,  K::kOptionalPlace,    K::kLiteral,
                                K::kOptionalPlace,  K::kOptionalPlace,    K::kOptionalPlace,
                                K::kSectionSeparator, K::kSectionValue,   K::kSectionSeparator,
                                K::kSectionValue,   K::kNone};
  for (int p = 0; p < static_cast<int>(kinds.size()); ++p) {
    EXPECT_EQ(m.Classify(p), kinds[p]) << "position " << p;
  }
  EXPECT_EQ(m.Classify(-5), K::kNone);
  EXPECT_EQ(m.PlacesUpTo(0), 0);
  EXPECT_EQ(m.PlacesUpTo(5), 5);
  EXPECT_EQ(m.PlacesUpTo(9), 8);
  EXPECT_EQ(m.PlacesUpTo(100), 8);
}

TEST(EditMaskFrequency, IndexesAndEditableSteps) {
  const EditMask m = Frequency();
  struct Row {
    int index, position;
    bool literal;
    int next, previous;
  };
  const Row rows[] = {
      {-1, 0, false, -1, -1}, {0, 1, false, 0, 0}, {3, 4, false, 3, 3}, {4, 5, true, 5, 3},
      {5, 6, false, 5, 5},    {7, 8, false, 7, 7}, {8, 9, false, 8, 8}, {9, 0, false, 9, 9},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.index);
    EXPECT_EQ(m.MaskPositionOf(r.index), r.position);
    EXPECT_EQ(m.IsLiteralIndex(r.index), r.literal);
    EXPECT_EQ(m.NextEditableIndex(r.index), r.next);
    EXPECT_EQ(m.PreviousEditableIndex(r.index), r.previous);
  }
  EXPECT_EQ(m.FirstLiteralAfter(1), 5);
  EXPECT_EQ(m.FirstLiteralAfter(5), 0);
}

TEST(EditMaskFrequency, ReadingText) {
  const EditMask m = Frequency();
  const std::pair<const char*, const char*> rows[] = {
      {"0000,000", "0000,000"}, {"0145,500", "0145,500"}, {"145_,___", "145 ,   "},
      {"14__,5__", "14  ,5  "}, {"_4__,___", " 4  ,   "}, {"____,___", "    ,   "},
      {"0145,5__", "0145,5  "},
  };
  for (const auto& [shown, text] : rows) EXPECT_EQ(m.TextOf(shown), text) << shown;
  EXPECT_EQ(m.BareValueOf("14__,5__"), "14  5");
  EXPECT_EQ(m.Format("12  5", ' '), "12  ,5  ");
}

TEST(EditMaskFrequency, AssigningText) {
  const EditMask m = Frequency();
  const struct {
    const char *value, *shown, *text;
  } rows[] = {
      {"0000,000", "0000,000", "0000,000"}, {"", "____,___", "    ,   "},
      {"12,5", "12__,5__", "12  ,5  "},     {"145", "145_,___", "145 ,   "},
      {"123456", "1234,___", "1234,   "},   {"12345,6789", "1234,678", "1234,678"},
      {"  12,5", "__12,5__", "  12,5  "},   {"1.5", "1.5_,___", "1.5 ,   "},
      {",,,", "____,,,_", "    ,,, "},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.value);
    EXPECT_EQ(m.ShownOf(r.value), r.shown);
    EXPECT_EQ(m.TextOf(m.ShownOf(r.value)), r.text);
  }
}

TEST(EditMaskFrequency, Merging) {
  const EditMask m = Frequency();
  const struct {
    const char* shown;
    int index;
    const char *pasted, *result;
    int returned;
  } rows[] = {
      {"_000,000", 0, "0145,5", "0145,500", 6}, {"_000,000", 0, "145", "1450,000", 3},
      {"_000,000", 0, "14,5", "14_5,000", 4},   {"_000,000", 0, "1234,567", "1234,567", 8},
      {"____,___", 0, "12345678", "1234,567", 8}, {"_234,567", 0, "abc", "___4,567", 3},
      {"0000,000", 4, "7", "0000,700", 6},      {"____,___", 0, "145", "145_,___", 3},
      {"0000,000", 3, "", "0000,000", 3},       {"0000,000", 8, "99", "0000,000", 8},
      {"0000,000", 7, "123", "0000,001", 8},    {"0000,000", 9, "1", "0000,000", 8},
      {"0000,000", -2, "1", "0000,000", 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.shown) + " @" + std::to_string(r.index) + " + " + r.pasted);
    const auto merged = m.Merge(r.shown, r.pasted, r.index);
    EXPECT_EQ(merged.shown, r.result);
    EXPECT_EQ(merged.index, r.returned);
  }
}

TEST(EditMaskFrequency, BlankingAcceptingValidating) {
  const EditMask m = Frequency();
  const struct {
    int index, length;
    const char* result;
  } blanks[] = {{0, 8, "____,___"}, {4, 1, "1234,567"}, {2, 3, "12__,567"}, {6, 5, "1234,5__"},
                {3, 0, "1234,567"}, {9, 1, "1234,567"}, {-1, 3, "1234,567"}, {8, 2, "1234,567"}};
  for (const auto& b : blanks) {
    EXPECT_EQ(m.BlankRange("1234,567", b.index, b.length), b.result) << b.index << "," << b.length;
  }
  for (int c = 0; c < 256; ++c) {
    const char ch = static_cast<char>(c);
    const bool digit = ch >= '0' && ch <= '9';
    for (int p : {1, 4, 6, 8}) {
      const auto a = m.Accept(ch, p);
      EXPECT_EQ(a.accepted, digit) << c << " at " << p;
      if (digit) {
        EXPECT_EQ(a.stored, ch);
      }
    }
    const auto comma = m.Accept(ch, 5);
    EXPECT_TRUE(comma.accepted);
    EXPECT_EQ(comma.stored, ',');
    EXPECT_FALSE(m.Accept(ch, 13).accepted);
  }
  for (const char* shown : {"____,___", "0145,5__", "", "x"}) EXPECT_FALSE(m.Validate(shown));
}

TEST(EditMaskOther, DerivedValues) {
  const struct {
    const char* mask;
    int places;
    bool save;
    char blank;
    bool reverse;
  } rows[] = {
      {"999;0;*", 3, false, '*', false}, {"999", 3, true, '_', false},
      {"99\\;99", 5, true, '_', false},  {"9;99;1;_", 4, true, '_', false},
      {"!999;0;_", 3, false, '_', true}, {"999;1", 3, true, '_', false},
      {"999;", 3, true, '_', false},     {"99;0", 2, false, '_', false},
      {"\\\\\\\\0", 3, true, '_', false}, {"", 0, true, '_', false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.mask);
    const EditMask m(r.mask, kSlashColon);
    EXPECT_EQ(m.PlaceCount(), r.places);
    EXPECT_EQ(m.SaveLiterals(), r.save);
    EXPECT_EQ(m.Blank(), r.blank);
    EXPECT_EQ(m.Reverse(), r.reverse);
  }
}

TEST(EditMaskOther, LiteralsAndEscapes) {
  const EditMask escaped("99\\;99", kSlashColon);
  EXPECT_EQ(escaped.Classify(3), K::kDirective);
  EXPECT_EQ(escaped.Classify(4), K::kLiteral);
  EXPECT_EQ(escaped.ShownOf("12;34"), "12;34");
  EXPECT_EQ(escaped.ShownOf("1"), "1_;__");

  const EditMask early("9;99;1;_", kSlashColon);
  EXPECT_EQ(early.Classify(2), K::kLiteral);
  EXPECT_EQ(early.Classify(5), K::kSectionSeparator);
  EXPECT_EQ(early.ShownOf("5"), "5;__");
  EXPECT_EQ(early.TextOf("5;__"), "5;  ");

  // Two escaped backslashes, then a required place.
  const EditMask backslashes("\\\\\\\\0", kSlashColon);
  EXPECT_EQ(backslashes.Classify(4), K::kLiteral);
  EXPECT_EQ(backslashes.Classify(5), K::kRequiredPlace);
  EXPECT_EQ(backslashes.ShownOf(""), "\\\\_");

  // An escaped pattern character is a literal, not a place.
  const EditMask escaped_zero("\\09", kSlashColon);
  EXPECT_EQ(escaped_zero.PlaceCount(), 2);
  EXPECT_TRUE(escaped_zero.IsLiteralIndex(0));
  EXPECT_EQ(escaped_zero.Format("7", '_'), "07");

  // Without sections the end index maps onto the last place.
  const EditMask plain("999", kSlashColon);
  EXPECT_EQ(plain.MaskPositionOf(3), 3);
  EXPECT_EQ(plain.MaskPositionOf(4), 0);
  EXPECT_EQ(plain.Merge("123", "45", 3).shown, "123");
  EXPECT_EQ(plain.Merge("123", "45", 3).index, 3);

  // Literals before the first place: stepping back from them lands on the first place.
  const EditMask paren("(999)", kSlashColon);
  EXPECT_EQ(paren.PreviousEditableIndex(0), 1);
  EXPECT_EQ(paren.NextEditableIndex(4), 5);
  EXPECT_EQ(paren.ShownOf("(12"), "(12_)");
  EXPECT_EQ(paren.ShownOf("12"), "(___)");  // the text before a missing literal is dropped
}

TEST(EditMaskOther, NoLiteralsSaved) {
  const EditMask m("999;0;*", kSlashColon);
  EXPECT_EQ(m.ShownOf("12"), "12*");
  EXPECT_EQ(m.ShownOf("12345"), "12345");
  EXPECT_EQ(m.TextOf("12*"), "12");
  EXPECT_EQ(m.TextOf("1*3"), "1 3");
  EXPECT_EQ(m.TextOf("***"), "");
  const EditMask dashed("99-99;0;_", kSlashColon);
  EXPECT_EQ(dashed.TextOf("12-3_"), "123");
  EXPECT_EQ(dashed.ShownOf("123"), "12-3_");
}

TEST(EditMaskOther, ReverseAlignsRight) {
  const EditMask m("!999;0;_", kSlashColon);
  EXPECT_EQ(m.ShownOf("12"), "_12");
  EXPECT_EQ(m.TextOf("_12"), "12");
  EXPECT_EQ(m.TextOf("1_2"), "1 2");
  EXPECT_EQ(EditMask("!99-99", kSlashColon).Format("123", '_'), "_1-23");

  const EditMask saved("!9999,999;1;_", kSlashColon);
  EXPECT_EQ(saved.ShownOf("12,5"), "__12,__5");
  EXPECT_EQ(saved.ShownOf("123456,78901"), "3456,901");
  EXPECT_EQ(saved.TextOf("__12,__5"), "  12,  5");
}

TEST(EditMaskOther, CaseConversion) {
  const EditMask m(">L<l<>cA", kSlashColon);
  EXPECT_EQ(m.PlaceCount(), 4);
  const struct {
    char c;
    int position;
    bool accepted;
    char stored;
  } rows[] = {{'a', 2, true, 'A'}, {'Z', 2, true, 'Z'}, {'1', 2, false, '1'}, {'B', 4, true, 'b'},
              {'x', 7, true, 'x'}, {'X', 7, true, 'X'}, {'1', 7, true, '1'}, {'q', 8, true, 'q'},
              {'\xe9', 2, false, '\xe9'}, {'\xe9', 7, true, '\xe9'}, {'-', 8, false, '-'}};
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(1, r.c) + " at " + std::to_string(r.position));
    const auto a = m.Accept(r.c, r.position);
    EXPECT_EQ(a.accepted, r.accepted);
    if (a.accepted) {
      EXPECT_EQ(a.stored, r.stored);
    }
  }
  EXPECT_EQ(EditMask(">LLL", kSlashColon).Merge("___", "ab1", 0).shown, "AB_");
  EXPECT_EQ(EditMask("<aaa", kSlashColon).Merge("___", "A1b", 0).shown, "a1b");
  EXPECT_EQ(EditMask("###", kSlashColon).Merge("___", "+ x", 0).shown, "+ _");
}

TEST(EditMaskOther, RequiredPlacesValidation) {
  const EditMask m("000-LL;1;_", kSlashColon);
  EXPECT_EQ(m.PlaceCount(), 6);
  const struct {
    const char* shown;
    std::optional<int> failing;
  } rows[] = {{"123-AB", std::nullopt}, {"12_-AB", 2}, {"123-A_", 5}, {"1 3-AB", 1},
              {"", std::nullopt},       {"123", 4},   {"___-__", 0}};
  for (const auto& r : rows) EXPECT_EQ(m.Validate(r.shown), r.failing) << r.shown;
  const EditMask any("C9C", kSlashColon);
  EXPECT_EQ(any.Validate(" 1x"), std::nullopt);
  EXPECT_EQ(any.Validate("x1_"), 2);
}

TEST(EditMaskOther, DateAndTimeSeparators) {
  const EditMask date("99/99/9999;1;_", MaskSeparators{'.', '-'});
  EXPECT_EQ(date.Classify(3), K::kSeparatorLiteral);
  EXPECT_EQ(date.LiteralAt(3), '.');
  EXPECT_EQ(date.ShownOf("1.2.2024"), "1_.2_.2024");
  EXPECT_EQ(date.TextOf("1_.2_.2024"), "1 .2 .2024");
  EXPECT_EQ(date.Format("01022024", '_'), "01.02.2024");
  EXPECT_EQ(date.Accept('x', 3).stored, '.');
  EXPECT_EQ(date.FirstLiteralAfter(1), 3);
  EXPECT_EQ(date.Merge("__.__.____", "1/2", 0).shown, "1_.2_.____");
  EXPECT_EQ(EditMask("99:99", MaskSeparators{'.', '-'}).Format("1230", '_'), "12-30");
  EXPECT_EQ(EditMask("99\\/99", MaskSeparators{'.', '-'}).Format("1230", '_'), "12/30");

  const struct {
    const char *date, *time;
    char d, t;
  } formats[] = {{"%-d.%-m.%Y", "%H:%M:%S", '.', ':'},
                 {"%m/%d/%y", "%r", '/', ':'},
                 {"%D", "%T", '/', ':'},
                 {"%F", "%H.%M.%S", '-', '.'},
                 {"%Y\xe5\xb9\xb4%m", "%Hh%M", '/', ':'},
                 {"%Y %m %d", "", '/', ':'}};
  for (const auto& f : formats) {
    const MaskSeparators s = SeparatorsFromFormats(f.date, f.time);
    EXPECT_EQ(s.date, f.d) << f.date;
    EXPECT_EQ(s.time, f.t) << f.time;
  }
}

TEST(EditMaskOther, EmptyMaskLeavesTextAlone) {
  const EditMask m("", kSlashColon);
  EXPECT_EQ(m.TextOf("ab_c"), "ab_c");
  EXPECT_EQ(m.ShownOf("ab c"), "ab c");
  EXPECT_EQ(m.BareValueOf("x__"), "x__");
  EXPECT_EQ(m.MaskPositionOf(0), 0);
  EXPECT_FALSE(m.Accept('1', 1).accepted);
  EXPECT_EQ(m.Merge("abc", "x", 0).shown, "abc");
}

}  // namespace
}  // namespace hb9cv

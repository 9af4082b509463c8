#include "ui/edit_mask.h"

#include <gtest/gtest.h>

#include <string>

namespace hb9cv {
namespace {

using K = MaskCharKind;
constexpr MaskSeparators kSlashColon{'/', ':'};

EditMask Frequency() {
  return EditMask("9999,999;1;_", kSlashColon);
}

TEST(EditMaskFrequency, PlacesAndAssignedText) {
  const EditMask m = Frequency();
  EXPECT_EQ(m.PlaceCount(), 8);
  EXPECT_EQ(m.Classify(5), K::kLiteral);
  EXPECT_EQ(m.Classify(9), K::kSectionSeparator);
  EXPECT_EQ(m.Classify(10), K::kSectionValue);
  EXPECT_EQ(m.NextEditableIndex(4), 5);
  EXPECT_EQ(m.PreviousEditableIndex(4), 3);
  EXPECT_EQ(m.BareValueOf("14__,5__"), "14  5");
  EXPECT_EQ(m.Format("12  5", ' '), "12  ,5  ");
  const struct {
    const char *value, *shown, *text;
  } assigning[] = {{"", "____,___", "    ,   "},       {"12,5", "12__,5__", "12  ,5  "},
                   {"123456", "1234,___", "1234,   "}, {"12345,6789", "1234,678", "1234,678"},
                   {"  12,5", "__12,5__", "  12,5  "}, {"1.5", "1.5_,___", "1.5 ,   "},
                   {",,,", "____,,,_", "    ,,, "}};
  for (const auto& r : assigning) {
    EXPECT_EQ(m.ShownOf(r.value), r.shown) << r.value;
    EXPECT_EQ(m.TextOf(m.ShownOf(r.value)), r.text) << r.value;
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
      {"_000,000", 0, "0145,5", "0145,500", 6},   {"_000,000", 0, "1234,567", "1234,567", 8},
      {"____,___", 0, "12345678", "1234,567", 8}, {"_234,567", 0, "abc", "___4,567", 3},
      {"0000,000", 4, "7", "0000,700", 6},        {"0000,000", 8, "99", "0000,000", 8},
      {"0000,000", 7, "123", "0000,001", 8},      {"0000,000", 9, "1", "0000,000", 8},
      {"0000,000", -2, "1", "0000,000", 0}};
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
  } blanks[] = {{0, 8, "____,___"}, {4, 1, "1234,567"}, {2, 3, "12__,567"},
                {6, 5, "1234,5__"}, {3, 0, "1234,567"}, {-1, 3, "1234,567"}};
  for (const auto& b : blanks) {
    EXPECT_EQ(m.BlankRange("1234,567", b.index, b.length), b.result) << b.index << "," << b.length;
  }
  for (int c = 0; c < 256; ++c) {
    const char ch = static_cast<char>(c);
    const bool digit = ch >= '0' && ch <= '9';
    for (int p : {1, 8}) EXPECT_EQ(m.Accept(ch, p).accepted, digit) << c << " at " << p;
    EXPECT_EQ(m.Accept(ch, 5).stored, ',');
    EXPECT_FALSE(m.Accept(ch, 13).accepted);
  }
  for (const char* shown : {"____,___", "0145,5__", "", "x"}) EXPECT_FALSE(m.Validate(shown));
}

TEST(EditMaskOther, SectionsLiteralsAndDirection) {
  const struct {
    const char* mask;
    int places;
    bool save;
    char blank;
    const char *value, *shown, *text;
  } rows[] = {
      {"999;0;*", 3, false, '*', "12", "12*", "12"},
      {"999", 3, true, '_', "12", "12_", "12 "},
      {"99\\;99", 5, true, '_', "12;34", "12;34", "12;34"},  // escaped ";": a literal
      {"9;99;1;_", 4, true, '_', "5", "5;__", "5;  "},       // ";" before the last four: a literal
      {"!999;0;_", 3, false, '_', "12", "_12", "12"},
      {"!9999,999;1;_", 8, true, '_', "12,5", "__12,__5", "  12,  5"},
      {"!9999,999;1;_", 8, true, '_', "123456,78901", "3456,901", "3456,901"},
      {"99-99;0;_", 5, false, '_', "123", "12-3_", "123"},
      {"99 99;1;_", 5, true, '_', "1 2", "1_ 2_", "1  2 "},  // a literal space stays a space
      {"\\\\\\\\0", 3, true, '_', "", "\\\\_", "\\\\ "},  // two escaped backslashes, then a place
      {"(999)", 5, true, '_', "12", "(___)",
       "(   )"},  // the text before a missing literal is dropped
      {"", 0, true, '_', "abC", "abC", "abC"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.mask) + " <- " + r.value);
    const EditMask m(r.mask, kSlashColon);
    EXPECT_EQ(m.PlaceCount(), r.places);
    EXPECT_EQ(m.SaveLiterals(), r.save);
    EXPECT_EQ(m.Blank(), r.blank);
    EXPECT_EQ(m.ShownOf(r.value), r.shown);
    EXPECT_EQ(m.TextOf(r.shown), r.text);
  }
  EXPECT_EQ(EditMask("999;0;*", kSlashColon).TextOf("1*3"), "1 3");
  EXPECT_EQ(EditMask("\\09", kSlashColon).Format("7", '_'), "07");
  EXPECT_EQ(EditMask("(999)", kSlashColon).PreviousEditableIndex(0), 1);
}

TEST(EditMaskOther, CaseConversion) {
  const EditMask m(">L<l<>cA", kSlashColon);
  EXPECT_EQ(m.PlaceCount(), 4);
  const struct {
    char c;
    int position;
    bool accepted;
    char stored;
  } rows[] = {{'a', 2, true, 'A'}, {'1', 2, false, 0},  {'B', 4, true, 'b'},   {'x', 7, true, 'x'},
              {'X', 7, true, 'X'}, {'q', 8, true, 'q'}, {'\xe9', 2, false, 0}, {'-', 8, false, 0}};
  for (const auto& r : rows) {
    const auto a = m.Accept(r.c, r.position);
    EXPECT_EQ(a.accepted, r.accepted) << r.c << " at " << r.position;
    if (a.accepted) {
      EXPECT_EQ(a.stored, r.stored) << r.c << " at " << r.position;
    }
  }
  EXPECT_EQ(EditMask("<aaa", kSlashColon).Merge("___", "A1b", 0).shown, "a1b");
  EXPECT_EQ(EditMask("####", kSlashColon).Merge("____", "+- x", 0).shown, "+- _");
}

TEST(EditMaskOther, RequiredPlacesFailAtTheFirstEmptyOne) {
  const EditMask m("000-LL;1;_", kSlashColon);
  const struct {
    const char* shown;
    std::optional<int> failing;
  } rows[] = {{"123-AB", std::nullopt}, {"12_-AB", 2}, {"123-A_", 5}, {"1 3-AB", 1},
              {"", std::nullopt},       {"123", 4},    {"___-__", 0}};
  for (const auto& r : rows) EXPECT_EQ(m.Validate(r.shown), r.failing) << r.shown;
  EXPECT_EQ(EditMask("C9C", kSlashColon).Validate(" 1x"), std::nullopt);
  EXPECT_EQ(EditMask("C9C", kSlashColon).Validate("x1_"), 2);
}

TEST(EditMaskOther, DateMaskShowsTheLocaleSeparators) {
  const EditMask date("99/99/9999;1;_", MaskSeparators{'.', '-'});
  EXPECT_EQ(date.Classify(3), K::kSeparatorLiteral);
  EXPECT_EQ(date.ShownOf("1.2.2024"), "1_.2_.2024");
  EXPECT_EQ(date.Format("01022024", '_'), "01.02.2024");
  EXPECT_EQ(EditMask("99:99", MaskSeparators{'.', '-'}).Format("1230", '_'), "12-30");
  EXPECT_EQ(EditMask("99\\/99", MaskSeparators{'.', '-'}).Format("1230", '_'), "12/30");
  const struct {
    const char *date, *time;
    char d, t;
  } formats[] = {{"%-d.%-m.%Y", "%H:%M:%S", '.', ':'},
                 {"%D", "%T", '/', ':'},
                 {"%F", "%H.%M.%S", '-', '.'},
                 {"%Y\xe5\xb9\xb4%m", "%Hh%M", '/', ':'}};
  for (const auto& f : formats) {
    const MaskSeparators s = SeparatorsFromFormats(f.date, f.time);
    EXPECT_EQ(s.date, f.d) << f.date;
    EXPECT_EQ(s.time, f.t) << f.time;
  }
}

}  // namespace
}  // namespace hb9cv

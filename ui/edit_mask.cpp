#include "ui/edit_mask.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <utility>

namespace hb9cv {
namespace {

// ASCII classes on purpose (see the header): a byte of a UTF-8 sequence is no letter.
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsLetterOrDigit(char c) {
  return IsLetter(c) || IsDigit(c);
}
char ToUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char ToLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsPlaceChar(char c) {
  switch (c) {
    case '0':
    case '9':
    case '#':
    case 'L':
    case 'l':
    case 'A':
    case 'a':
    case 'C':
    case 'c':
      return true;
    default:
      return false;
  }
}
bool IsRequiredPlaceChar(char c) {
  return c == '0' || c == 'L' || c == 'A' || c == 'C';
}

// The first separator a strftime pattern puts between its fields; `fallback` when it has no
// single-byte one.
char FormatSeparator(std::string_view format, char fallback) {
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '%') {
      ++i;
      while (i < format.size() &&
             (std::string_view("-_0^#EO").find(format[i]) != std::string_view::npos ||
              IsDigit(format[i]))) {
        ++i;
      }
      if (i >= format.size()) break;
      switch (format[i]) {
        case 'D':
          return '/';
        case 'F':
          return '-';
        case 'T':
        case 'R':
          return ':';
        default:
          continue;
      }
    }
    if (c == ' ') continue;
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) return fallback;  // a multi-byte separator cannot stand in one place
    if (u > 0x20 && u < 0x7f && !IsLetterOrDigit(c)) return c;
  }
  return fallback;
}

MaskSeparators ReadLocaleSeparators() {
  MaskSeparators result;
  if (locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0))) {
    result = SeparatorsFromFormats(nl_langinfo_l(D_FMT, loc), nl_langinfo_l(T_FMT, loc));
    freelocale(loc);
  }
  return result;
}

MaskSeparators& Separators() {
  static MaskSeparators separators = ReadLocaleSeparators();
  return separators;
}

}  // namespace

MaskSeparators SeparatorsFromFormats(std::string_view dateFormat, std::string_view timeFormat) {
  return {FormatSeparator(dateFormat, '/'), FormatSeparator(timeFormat, ':')};
}
MaskSeparators CurrentMaskSeparators() {
  return Separators();
}
void SetMaskSeparators(MaskSeparators separators) {
  Separators() = separators;
}
void ReadMaskSeparators() {
  Separators() = ReadLocaleSeparators();
}

EditMask::EditMask(std::string mask, MaskSeparators separators)
    : mask_(std::move(mask)), separators_(separators) {
  ReadSections(ClassifyEntries());
}

std::vector<int> EditMask::ClassifyEntries() {
  const int length = Length();
  entries_.resize(mask_.size());
  // Section separators can only stand among the last four characters of a mask of at least
  // four, so a ";" earlier in the pattern is an ordinary literal.
  const int sectionFrom = length >= 4 ? length - 3 : length + 1;
  bool escaping = false;
  CaseConversion conversion = CaseConversion::kNone;
  std::vector<int> separatorPositions;
  for (int p = 1; p <= length; ++p) {
    Entry& e = entries_[p - 1];
    e.ch = mask_[p - 1];
    if (escaping) {
      // A "\" escapes exactly the next character; read left to right, so "\\" is a literal
      // backslash and does not escape what follows it.
      e.kind = MaskCharKind::kLiteral;
      escaping = false;
    } else if (p >= sectionFrom && e.ch == ';') {
      e.kind = MaskCharKind::kSectionSeparator;
      separatorPositions.push_back(p);
    } else if (p > sectionFrom && entries_[p - 2].kind == MaskCharKind::kSectionSeparator) {
      e.kind = MaskCharKind::kSectionValue;
    } else if (e.ch == '\\') {
      e.kind = MaskCharKind::kDirective;
      escaping = true;
    } else if (e.ch == '>') {
      e.kind = MaskCharKind::kDirective;
      const bool afterLower =
          p >= 2 && entries_[p - 2].kind == MaskCharKind::kDirective && entries_[p - 2].ch == '<';
      conversion = afterLower ? CaseConversion::kNone : CaseConversion::kUpper;
    } else if (e.ch == '<') {
      e.kind = MaskCharKind::kDirective;
      conversion = CaseConversion::kLower;
    } else if (e.ch == '!') {
      e.kind = MaskCharKind::kDirective;
      reverse_ = true;
    } else if (IsPlaceChar(e.ch)) {
      e.kind =
          IsRequiredPlaceChar(e.ch) ? MaskCharKind::kRequiredPlace : MaskCharKind::kOptionalPlace;
      e.conversion = conversion;
    } else if (e.ch == '/' || e.ch == ':') {
      e.kind = MaskCharKind::kSeparatorLiteral;
    } else {
      e.kind = MaskCharKind::kLiteral;
    }
    if (e.kind != MaskCharKind::kDirective) indexPosition_.push_back(p);
    if (e.kind != MaskCharKind::kDirective && e.kind != MaskCharKind::kSectionSeparator &&
        e.kind != MaskCharKind::kSectionValue) {
      ++placeCount_;
    }
  }
  return separatorPositions;
}

void EditMask::ReadSections(const std::vector<int>& separatorPositions) {
  const int length = Length();
  // Save-literals: the character after the second separator from the end, or after the only
  // one; kept unless it is "0".
  const size_t separatorsFound = separatorPositions.size();
  if (separatorsFound > 0) {
    const int sep = separatorPositions[separatorsFound >= 2 ? separatorsFound - 2 : 0];
    if (sep < length) saveLiterals_ = mask_[sep] != '0';
  }
  // Blank: the last character when a separator stands before it and a further one one or two
  // places before that.
  if (length >= 4 && Classify(length - 1) == MaskCharKind::kSectionSeparator &&
      (Classify(length - 2) == MaskCharKind::kSectionSeparator ||
       Classify(length - 3) == MaskCharKind::kSectionSeparator)) {
    blank_ = mask_[length - 1];
  }
}

const EditMask::Entry* EditMask::At(int position) const {
  if (position < 1 || position > Length()) return nullptr;
  return &entries_[position - 1];
}

MaskCharKind EditMask::Classify(int position) const {
  const Entry* e = At(position);
  return e ? e->kind : MaskCharKind::kNone;
}

bool EditMask::IsPlace(int position) const {
  const MaskCharKind k = Classify(position);
  return k == MaskCharKind::kRequiredPlace || k == MaskCharKind::kOptionalPlace;
}

bool EditMask::IsLiteral(int position) const {
  const MaskCharKind k = Classify(position);
  return k == MaskCharKind::kLiteral || k == MaskCharKind::kSeparatorLiteral;
}

EditMask::CaseConversion EditMask::CaseAt(int position) const {
  return IsPlace(position) ? entries_[position - 1].conversion : CaseConversion::kNone;
}

char EditMask::LiteralAt(int position) const {
  switch (Classify(position)) {
    case MaskCharKind::kLiteral:
      return entries_[position - 1].ch;
    case MaskCharKind::kSeparatorLiteral:
      return entries_[position - 1].ch == '/' ? separators_.date : separators_.time;
    default:
      return 0;
  }
}

int EditMask::PlacesUpTo(int position) const {
  const int last = std::min(position, Length());
  int n = 0;
  for (int p = 1; p <= last; ++p) {
    if (IsPlace(p) || IsLiteral(p)) ++n;
  }
  return n;
}

int EditMask::MaskPositionOf(int index) const {
  if (mask_.empty() || index < 0 || index > placeCount_) return 0;
  if (static_cast<size_t>(index) < indexPosition_.size()) return indexPosition_[index];
  return Length();
}

bool EditMask::IsLiteralIndex(int index) const {
  return IsLiteral(MaskPositionOf(index));
}

int EditMask::NextEditableIndex(int index) const {
  while (index < placeCount_ && IsLiteralIndex(index)) ++index;
  return index;
}

int EditMask::PreviousEditableIndex(int index) const {
  int i = index;
  while (i >= 0 && IsLiteralIndex(i)) --i;
  // Only literals at or before the start: the first editable place after them instead.
  if (i < 0) return NextEditableIndex(index);
  return i;
}

int EditMask::FirstLiteralAfter(int position) const {
  for (int p = std::max(position + 1, 1); p <= Length(); ++p) {
    if (IsLiteral(p)) return p;
  }
  return 0;
}

std::string EditMask::Format(std::string_view bare, char blank) const {
  std::string r(bare);
  if (!reverse_) {
    size_t k = 0;  // write position; never beyond r.size()
    for (int p = 1; p <= Length(); ++p) {
      if (IsLiteral(p)) {
        r.insert(k, 1, LiteralAt(p));
        ++k;
      } else if (IsPlace(p)) {
        if (k >= r.size()) r.push_back(blank);
        ++k;
      }
    }
  } else {
    size_t k = r.size();  // characters of the value still to be matched with places
    for (int p = Length(); p >= 1; --p) {
      if (IsLiteral(p)) {
        r.insert(k, 1, LiteralAt(p));
      } else if (IsPlace(p)) {
        if (k < 1) {
          r.insert(r.begin(), blank);
        } else {
          --k;
        }
      }
    }
  }
  return r;
}

void EditMask::Adjust(std::string& r, size_t start, size_t length, size_t wanted,
                      char blank) const {
  if (length < wanted) {
    r.insert(reverse_ ? start : start + length, wanted - length, blank);
  } else if (length > wanted) {
    r.erase(reverse_ ? start : start + wanted, length - wanted);
  }
}

std::string EditMask::Fit(std::string_view value, char blank) const {
  if (mask_.empty()) return std::string(value);
  std::string r(value);
  size_t last = 0;  // places up to the literal fitted last
  int n = 0;
  for (int p = 1; p <= Length(); ++p) {
    const bool literal = IsLiteral(p);
    if (literal || IsPlace(p)) ++n;
    if (!literal) continue;
    const char c = LiteralAt(p);
    size_t found = r.find(c, last);
    if (found == std::string::npos) {
      r.push_back(c);
      found = r.size() - 1;
    }
    Adjust(r, last, found - last, static_cast<size_t>(n) - 1 - last, blank);
    last = static_cast<size_t>(n);
  }
  const auto count = static_cast<size_t>(placeCount_);
  if (r.size() != count) Adjust(r, last, r.size() - last, count - last, blank);
  for (size_t i = 0; i < r.size(); ++i) {
    if (r[i] == ' ' && !IsLiteralIndex(static_cast<int>(i))) r[i] = blank;
  }
  return r;
}

std::string EditMask::BareValueOf(std::string_view shown) const {
  if (mask_.empty()) return std::string(shown);
  std::string r(shown);
  size_t k = 0;
  for (int p = 1; p <= Length(); ++p) {
    if (IsLiteral(p)) {
      if (k < r.size()) r.erase(k, 1);
    } else if (IsPlace(p)) {
      ++k;
    }
  }
  if (reverse_) {
    r.erase(0, std::min(r.find_first_not_of(blank_), r.size()));
  } else {
    const size_t keep = r.find_last_not_of(blank_);
    r.erase(keep == std::string::npos ? 0 : keep + 1);
  }
  std::replace(r.begin(), r.end(), blank_, ' ');
  return r;
}

std::string EditMask::TextOf(std::string_view shown) const {
  if (mask_.empty()) return std::string(shown);
  const std::string bare = BareValueOf(shown);
  return saveLiterals_ ? Format(bare, ' ') : bare;
}

std::string EditMask::ShownOf(std::string_view value) const {
  return saveLiterals_ ? Fit(value, blank_) : Format(value, blank_);
}

EditMask::Acceptance EditMask::Accept(char c, int position) const {
  const Entry* e = At(position);
  if (!e) return {false, c};
  if (IsLiteral(position)) return {true, LiteralAt(position)};
  if (!IsPlace(position)) return {true, c};
  bool ok = false;
  switch (e->ch) {
    case '0':
    case '9':
      ok = IsDigit(c);
      break;
    case '#':
      ok = IsDigit(c) || c == '+' || c == '-' || c == ' ';
      break;
    case 'L':
    case 'l':
      ok = IsLetter(c);
      break;
    case 'A':
    case 'a':
      ok = IsLetterOrDigit(c);
      break;
    default:
      ok = true;
      break;  // "C", "c"
  }
  if (!ok) return {false, c};
  if (e->ch != '0' && e->ch != '9' && e->ch != '#') {
    if (e->conversion == CaseConversion::kUpper) c = ToUpper(c);
    if (e->conversion == CaseConversion::kLower) c = ToLower(c);
  }
  return {true, c};
}

std::string EditMask::BlankRange(std::string_view shown, int index, int length) const {
  std::string r(shown);
  int p = MaskPositionOf(index);
  if (length <= 0 || p == 0) return r;
  size_t j = static_cast<size_t>(index);
  for (int passed = 0; p <= Length() && passed < length; ++p) {
    if (Classify(p) == MaskCharKind::kDirective) continue;
    if (IsPlace(p) && j < r.size()) r[j] = blank_;
    ++j;
    ++passed;
  }
  return r;
}

EditMask::MergeResult EditMask::Merge(std::string_view shown, std::string_view pasted,
                                      int index) const {
  int p = MaskPositionOf(index);
  if (pasted.empty() || p == 0) {
    return {std::string(shown), std::clamp(index, 0, placeCount_)};
  }
  std::string t(pasted);
  const auto s = static_cast<size_t>(index);
  const auto count = static_cast<size_t>(placeCount_);
  size_t k = 1;
  for (; p <= Length(); ++p) {
    const bool literal = IsLiteral(p);
    if (literal || IsPlace(p)) {
      const Acceptance a = Accept(t[k - 1], p);
      if (literal && a.stored != t[k - 1]) {
        t.insert(k - 1, 1, a.stored);
      } else {
        t[k - 1] = a.accepted ? a.stored : blank_;
      }
      ++k;
    }
    if (s + k > count || k > t.size()) break;
  }
  std::string v(shown.substr(0, std::min(s, shown.size())));
  if (s + t.size() < count) {
    v += t;
    const size_t from = s + t.size();
    if (from < shown.size()) v += shown.substr(from, count - from);
  } else {
    v += t.substr(0, count - std::min(v.size(), count));
  }
  // Without sections the end index maps onto the last place, and a paste there would count
  // one place too many.
  return {std::move(v), static_cast<int>(std::min(s + k - 1, count))};
}

std::optional<int> EditMask::Validate(std::string_view shown) const {
  if (shown.empty()) return std::nullopt;
  int index = 0;
  for (int p = 1; p <= Length(); ++p) {
    const MaskCharKind kind = Classify(p);
    if (kind == MaskCharKind::kRequiredPlace) {
      // A text too short to reach the place leaves it as empty as a blank would.
      const char c = static_cast<size_t>(index) < shown.size() ? shown[index] : blank_;
      if (c == blank_ || (c == ' ' && entries_[p - 1].ch != 'C')) return index;
      ++index;
    } else if (IsLiteral(p) || kind == MaskCharKind::kOptionalPlace) {
      ++index;
    }
  }
  return std::nullopt;
}

}  // namespace hb9cv

// Feeds random masks, values, pasted texts and indexes to every edit-mask operation. Any mask
// must be read without reading outside it, and the frequency field's mask must keep its shape:
// eight places, "," at place 4, digits or "_" elsewhere.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/edit_mask.h"

namespace {

using hb9cv::EditMask;

#define CHECK(condition) \
  do {                   \
    if (!(condition)) {  \
      __builtin_trap();  \
    }                    \
  } while (0)

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(const std::string& s) {
  for (char c : s) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// The shape of a shown text under "9999,999;1;_" (digits or `blank` in the places; `exact`
// also demands the eight characters).
bool FrequencyShape(const std::string& s, char blank, bool exact) {
  if (s.size() < 8 || (exact && s.size() != 8) || s[4] != ',') return false;
  for (size_t i = 0; i < s.size(); ++i) {
    if (i != 4 && !IsDigit(s[i]) && s[i] != blank) return false;
  }
  return true;
}

void AnyMask(FuzzedDataProvider& in) {
  const std::string mask = in.ConsumeRandomLengthString(24);
  const hb9cv::MaskSeparators separators{in.ConsumeIntegral<char>(), in.ConsumeIntegral<char>()};
  const EditMask m(mask, separators);
  const int count = m.PlaceCount();
  const int length = m.Length();
  CHECK(count >= 0 && count <= length);

  const int position = in.ConsumeIntegralInRange<int>(-3, length + 3);
  const int index = in.ConsumeIntegralInRange<int>(-3, count + 3);
  const int span = in.ConsumeIntegralInRange<int>(-3, count + 3);
  const char c = in.ConsumeIntegral<char>();
  const std::string value = in.ConsumeRandomLengthString(32);
  const std::string pasted = in.ConsumeRandomLengthString(32);

  (void)m.Classify(position);
  (void)m.CaseAt(position);
  (void)m.LiteralAt(position);
  (void)m.Accept(c, position);
  CHECK(m.PlacesUpTo(position) >= 0 && m.PlacesUpTo(position) <= count);
  const int mapped = m.MaskPositionOf(index);
  CHECK(mapped >= 0 && mapped <= length);
  CHECK((mapped == 0) == (mask.empty() || index < 0 || index > count));
  (void)m.IsLiteralIndex(index);
  const int next = m.NextEditableIndex(index);
  CHECK(next >= index && (next <= count || next == index));
  const int previous = m.PreviousEditableIndex(index);
  CHECK(previous >= -1 || previous == index);
  CHECK(previous <= index || previous == next);
  CHECK(m.FirstLiteralAfter(position) == 0 || m.FirstLiteralAfter(position) > position);

  // Shown texts keep the place count.
  const std::string shown = m.ShownOf(value);
  if (m.SaveLiterals() && !mask.empty()) CHECK(static_cast<int>(shown.size()) == count);
  CHECK(static_cast<int>(m.Fit(value, '_').size()) ==
        (mask.empty() ? static_cast<int>(value.size()) : count));
  const std::string formatted = m.Format(value, m.Blank());
  CHECK(static_cast<int>(formatted.size()) >= count);
  int editable = 0;
  for (int p = 1; p <= length; ++p) {
    const auto kind = m.Classify(p);
    editable +=
        kind == hb9cv::MaskCharKind::kRequiredPlace || kind == hb9cv::MaskCharKind::kOptionalPlace;
  }
  if (!mask.empty() && static_cast<int>(value.size()) <= editable)
    CHECK(static_cast<int>(formatted.size()) == count);
  const std::string bare = m.BareValueOf(shown);
  if (m.SaveLiterals() && !mask.empty()) CHECK(static_cast<int>(bare.size()) <= count);
  (void)m.TextOf(shown);
  (void)m.TextOf(value);
  CHECK(m.BlankRange(shown, index, span).size() == shown.size());
  CHECK(m.BlankRange(value, index, span).size() == value.size());
  const auto merged = m.Merge(shown, pasted, index);
  CHECK(merged.index >= 0 && merged.index <= count);
  if (!pasted.empty() && index >= 0 && index <= count && static_cast<int>(shown.size()) == count) {
    CHECK(static_cast<int>(merged.shown.size()) == count);
  }
  (void)m.Merge(value, pasted, index);
  const auto failed = m.Validate(shown);
  if (failed) CHECK(*failed >= 0 && *failed < count);
  (void)m.Validate(value);
}

void FrequencyMask(FuzzedDataProvider& in) {
  static const EditMask m("9999,999;1;_", hb9cv::MaskSeparators{'/', ':'});
  // A shown text the field can hold: digits or "_" around the comma.
  std::string shown = "____,___";
  for (size_t i = 0; i < shown.size(); ++i) {
    if (i != 4 && in.ConsumeBool())
      shown[i] = static_cast<char>('0' + in.ConsumeIntegralInRange<int>(0, 9));
  }
  const int index = in.ConsumeIntegralInRange<int>(-2, 10);
  const int span = in.ConsumeIntegralInRange<int>(-2, 10);
  const bool digitsOnly = in.ConsumeBool();
  std::string value = in.ConsumeRandomLengthString(20);
  if (digitsOnly) {
    for (char& c : value) c = static_cast<char>('0' + static_cast<unsigned char>(c) % 10);
  }
  const std::string pasted = in.ConsumeRemainingBytesAsString();

  // Whatever is pasted: places refuse anything but digits and the comma stays.
  const auto merged = m.Merge(shown, pasted, index);
  CHECK(FrequencyShape(merged.shown, '_', true));
  CHECK(merged.index >= 0 && merged.index <= 8);
  if (AllDigits(pasted) && !pasted.empty() && index >= 0 && index <= 8) {
    // Digits fill the digit places from the index in order, over the comma; the places
    // before and after keep their characters, and the index ends after the last one filled.
    CHECK(merged.shown.compare(0, static_cast<size_t>(index), shown, 0,
                               static_cast<size_t>(index)) == 0);
    size_t q = 0;
    int last = -1;
    for (int j = index; j < 8; ++j) {
      if (j == 4) continue;
      if (q < pasted.size()) {
        CHECK(merged.shown[j] == pasted[q++]);
        last = j;
      } else {
        CHECK(merged.shown[j] == shown[j]);
      }
    }
    CHECK(merged.index == (last < 0 ? index : last + 1));
  }
  CHECK(FrequencyShape(m.BlankRange(shown, index, span), '_', true));
  const std::string text = m.TextOf(shown);
  CHECK(FrequencyShape(text, ' ', true));
  CHECK(m.ShownOf(text) == shown);
  CHECK(!m.Validate(shown));

  if (AllDigits(value)) {
    CHECK(FrequencyShape(m.Fit(value, '_'), '_', true));
    CHECK(FrequencyShape(m.ShownOf(value), '_', true));
    CHECK(FrequencyShape(m.Format(value, '_'), '_', value.size() <= 7));
  }
  // One comma in the value still fits around the fixed comma.
  if (AllDigits(value) && value.size() >= 1) {
    std::string withComma = value;
    withComma[static_cast<size_t>(index < 0 ? 0 : index) % value.size()] = ',';
    CHECK(FrequencyShape(m.Fit(withComma, '_'), '_', true));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  if (in.ConsumeBool()) {
    AnyMask(in);
  } else {
    FrequencyMask(in);
  }
  return 0;
}

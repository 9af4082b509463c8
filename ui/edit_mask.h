#pragma once
// The rules of an edit mask: how a mask string is read, which character places it makes, how
// a value becomes the shown text and back, which character a place accepts, how places are
// blanked, how pasted text is laid in and how a shown text is validated. No window, selection
// or event is involved; the masked field is a thin layer over these operations.
//
// Characters are single bytes. Letters and "letter or digit" are the ASCII ones: the program's
// texts are UTF-8, where a byte of 0x80 or above is only a piece of a character, so such a byte
// is neither a letter nor a digit (a "C"/"c" place still accepts it, as it accepts anything).
//
// Mask positions count the mask's characters from 1 (0 means "none"); places and indexes count
// from 0, and the index equal to the place count is the end. Every operation accepts any
// position, index or text: out-of-range positions classify as `None`, out-of-range indexes map
// to no position, and no operation reads outside a string.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hb9cv {

// What a character of a mask is.
// clang-format off
enum class MaskCharKind {
  kLiteral,           // a fixed character of the shown text
  kSeparatorLiteral,  // "/" or ":", shown as the user's date or time separator
  kDirective,         // ">", "<", "!" or an escaping "\": occupies no place
  kRequiredPlace,     // "0", "L", "A", "C"
  kOptionalPlace,     // "9", "#", "l", "a", "c"
  kSectionSeparator,  // a ";" among the last four characters
  kSectionValue,      // the character right after a section separator
  kNone,              // a position outside the mask
};
// clang-format on

// The user's date and time separators, which the mask characters "/" and ":" stand for.
struct MaskSeparators {
  char date = '/';
  char time = ':';
};

// The separators the masks use: read from the user's locale (LC_TIME) on first use; "/" and
// ":" when the locale has none that is a single byte.
MaskSeparators CurrentMaskSeparators();
void SetMaskSeparators(MaskSeparators separators);
// Reads the separators from the user's locale again and makes them current.
void ReadMaskSeparators();
// The separators a locale's date and time formats (strftime patterns) use.
MaskSeparators SeparatorsFromFormats(std::string_view dateFormat, std::string_view timeFormat);

class EditMask {
 public:
  // Letter case that a place converts typed letters to (set by ">" and "<" before it).
  enum class CaseConversion { kNone, kUpper, kLower };

  struct Acceptance {
    bool accepted = false;
    char stored = 0;  // the character to store when accepted
  };
  struct MergeResult {
    std::string shown;
    int index = 0;
  };

  explicit EditMask(std::string mask = {}, MaskSeparators separators = CurrentMaskSeparators());

  const std::string& Mask() const { return mask_; }
  bool Empty() const { return mask_.empty(); }
  int Length() const { return static_cast<int>(mask_.size()); }

  MaskCharKind Classify(int position) const;
  int PlaceCount() const { return placeCount_; }
  bool SaveLiterals() const { return saveLiterals_; }
  char Blank() const { return blank_; }
  // A "!" anywhere in the pattern: values are aligned to the right.
  bool Reverse() const { return reverse_; }
  // The conversion that applies to the place at a position (kNone elsewhere).
  CaseConversion CaseAt(int position) const;
  // The character a literal position shows (the separator for "/" and ":"); 0 elsewhere.
  char LiteralAt(int position) const;

  // Number of places among positions 1 to `position`.
  int PlacesUpTo(int position) const;
  // Position of index `index`: the (index + 1)-th character that is no directive, the mask's
  // last position when there are not that many, and 0 (none) for an index outside
  // 0..PlaceCount() or with an empty mask.
  int MaskPositionOf(int index) const;
  bool IsLiteralIndex(int index) const;
  int NextEditableIndex(int index) const;
  // May return -1 (no editable place at or before `index` nor after it).
  int PreviousEditableIndex(int index) const;
  // The first literal place after `position` (0 when there is none).
  int FirstLiteralAfter(int position) const;

  // A bare value (no literals, spaces in empty places) into a shown text.
  std::string Format(std::string_view bare, char blank) const;
  // A value that may hold the literals into a shown text of exactly PlaceCount() characters.
  std::string Fit(std::string_view value, char blank) const;
  std::string BareValueOf(std::string_view shown) const;
  // The field's `Text` for a shown text.
  std::string TextOf(std::string_view shown) const;
  // The shown text that assigning `value` to `Text` gives.
  std::string ShownOf(std::string_view value) const;
  //
  // For the frequency field's mask "9999,999;1;_" (eight places, the fifth the literal ",";
  // literals saved; blank "_"):
  //   Format("0145500", '_')   "0145,500"      Fit("0145,5", '_')       "0145,5__"
  //   Format("01455  ", '_')   "0145,5  "      Fit("123456", '_')       "1234,___"
  //   Format("145", '_')       "145_,___"      BareValueOf("0145,5__")  "01455"
  //   TextOf("0145,5__")       "0145,5  "      ShownOf("12,5")          "12__,5__"
  //   TextOf("____,___")       "    ,   "      ShownOf("12345,6789")    "1234,678"
  //   TextOf("145_,___")       "145 ,   "      ShownOf("")              "____,___"

  Acceptance Accept(char c, int position) const;
  // `shown` with the places of the `length` characters from index `index` blanked.
  std::string BlankRange(std::string_view shown, int index, int length) const;
  // Lays `pasted` place by place into `shown` from `index`; returns the new text and the index
  // after the last place filled (never beyond the end).
  MergeResult Merge(std::string_view shown, std::string_view pasted, int index) const;
  // Pass (nullopt), or the index of the first required place left empty.
  std::optional<int> Validate(std::string_view shown) const;

 private:
  struct Entry {
    char ch = 0;
    MaskCharKind kind = MaskCharKind::kNone;
    CaseConversion conversion = CaseConversion::kNone;
  };
  const Entry* At(int position) const;
  // Sorts every mask character into its kind; returns the positions of the section
  // separators.
  std::vector<int> ClassifyEntries();
  // The save-literals flag and the blank, from the sections after the pattern.
  void ReadSections(const std::vector<int>& separatorPositions);
  bool IsPlace(int position) const;
  bool IsLiteral(int position) const;
  // Brings a sub-field to `wanted` characters: blanks added, or characters dropped, at its end
  // (at its start for a reversed mask).
  void Adjust(std::string& r, size_t start, size_t length, size_t wanted, char blank) const;

  std::string mask_;
  MaskSeparators separators_;
  std::vector<Entry> entries_;      // one per mask position
  std::vector<int> indexPosition_;  // position of each character that is no directive
  int placeCount_ = 0;
  bool saveLiterals_ = true;
  char blank_ = '_';
  bool reverse_ = false;
};

}  // namespace hb9cv

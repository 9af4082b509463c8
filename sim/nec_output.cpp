#include "sim/nec_output.h"

#include <charconv>
#include <cmath>
#include <string>

#include "sim/sim_errors.h"

namespace hb9cv {
namespace {

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

// from_chars: strtod would read the decimal separator of the locale the program runs in.
bool ReadNumber(std::string_view token, double& value) {
  const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
  return ec == std::errc() && end == token.data() + token.size();
}

double Number(std::string_view token, std::string_view line) {
  double value = 0;
  if (!ReadNumber(token, value)) {
    throw ESimulationError(
        HB9CV_TRANSLATE_NOOP("Errors", "nec2c wrote a line that cannot be read: '%1'"),
        {std::string(line.substr(0, 80))});
  }
  return value;
}

bool StartsWithNumber(std::string_view line) {
  const std::vector<std::string_view> tokens = Tokens(line);
  double unused = 0;
  return !tokens.empty() && ReadNumber(tokens.front(), unused);
}

class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const size_t end = text_.find('\n', pos_);
    const size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(pos_, stop - pos_);
    pos_ = stop + 1;
    return true;
  }
  // The next line, unconsumed.
  bool Peek(std::string_view& line) {
    const size_t keep = pos_;
    const bool any = Next(line);
    pos_ = keep;
    return any;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// The rows of a section: every line that starts with a number, after at most five header
// lines (blank lines included); a section without rows has none.
template <typename Row>
void ReadRows(Lines& lines, Row row) {
  std::string_view line;
  for (int headers = 0; headers < 5 && lines.Peek(line) && !StartsWithNumber(line); ++headers) {
    lines.Next(line);
  }
  while (lines.Peek(line) && StartsWithNumber(line)) {
    lines.Next(line);
    row(line, Tokens(line));
  }
}

}  // namespace

NecOutput ParseNecOutput(std::string_view text) {
  NecOutput out;
  Lines lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    if (line.find("ANTENNA INPUT PARAMETERS") != std::string_view::npos) {
      ReadRows(lines, [&](std::string_view l, const std::vector<std::string_view>& t) {
        if (t.size() != 11)
          throw ESimulationError(
              HB9CV_TRANSLATE_NOOP("Errors", "nec2c wrote an input-parameter row of %1 fields"),
              {std::to_string(t.size())});
        out.impedances.emplace_back(Number(t[6], l), Number(t[7], l));
      });
    } else if (line.find("RADIATION PATTERNS") != std::string_view::npos) {
      std::vector<NecPatternRow>& rows = out.patterns.emplace_back();
      ReadRows(lines, [&](std::string_view l, const std::vector<std::string_view>& t) {
        // Eleven fields when the polarisation sense is blank.
        if (t.size() != 12 && t.size() != 11) {
          throw ESimulationError(
              HB9CV_TRANSLATE_NOOP("Errors", "nec2c wrote a pattern row of %1 fields"),
              {std::to_string(t.size())});
        }
        const size_t e = t.size() - 4;  // E(THETA) magnitude, then its phase, then E(PHI)'s
        rows.push_back({Number(t[0], l), Number(t[1], l), Number(t[4], l),
                        std::hypot(Number(t[e], l), Number(t[e + 2], l))});
      });
    }
  }
  return out;
}

std::string_view FailureReason(std::string_view text) {
  std::string_view reason;
  Lines lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) continue;
    line = line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
    // The card nec2c refused follows its error line.
    if (reason.find("ERROR") == std::string_view::npos) reason = line;
  }
  return reason;
}

}  // namespace hb9cv

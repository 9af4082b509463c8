// The integer extended arithmetic against the x87 unit, bit for bit, where the hardware has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "calc/dimensions.h"
#include "calc/errors.h"
#include "calc/extended.h"
#include "calc/number_text.h"
#include "x87_reference.h"

#ifdef HB9CV_HAVE_X87_REFERENCE

namespace hb9cv {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kRandomCount = 50000;  // the sanitizer build runs some twenty times slower
constexpr int kFieldStep = 97;
#else
constexpr int kRandomCount = 1000000;
constexpr int kFieldStep = 1;
#endif

::testing::AssertionResult Same(const Extended& ours, long double reference) {
  const Extended ref = x87::FromLong(reference);
  if (ours.SameBits(ref)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << std::hex << "ours " << ours.negative << " " << ours.exponent << " " << ours.significand
         << ", x87 " << ref.negative << " " << ref.exponent << " " << ref.significand;
}

::testing::AssertionResult SameDigits(const Extended& value, int precision) {
  const FloatDigits ours = FloatToDigits(value, precision);
  const FloatDigits ref = x87::FloatToDigits(x87::ToLong(value), precision);
  if (ours.exponent == ref.exponent && ours.negative == ref.negative &&
      std::strcmp(ours.digits, ref.digits) == 0) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "ours " << ours.digits << "E" << ours.exponent << ", x87 " << ref.digits << "E"
         << ref.exponent << " for " << static_cast<double>(value);
}

// Our operation throws EMathError where the x87 unit flags an invalid operation, a division
// by zero or an overflow, and gives the very same bits where it flags none of them.
template <class Ours, class Reference>
::testing::AssertionResult Agrees(Ours ours, Reference reference) {
  x87::ClearFlags();
  const long double expected = x87::Computed(reference());
  const bool raises = (x87::Status() & 0x000D) != 0;
  try {
    const Extended result = ours();
    return raises ? ::testing::AssertionFailure() << "no EMathError" : Same(result, expected);
  } catch (const EMathError&) {
    return ::testing::AssertionResult(raises) << "EMathError where the x87 unit flags nothing";
  }
}

// Any bit pattern with the integer bit set where the exponent says normal; a third of them
// near 1, where the program's numbers are, the rest over the whole range, denormals included.
Extended RandomExtended(std::mt19937_64& rng) {
  const unsigned kind = rng() % 3;
  int exponent =
      kind == 0 ? 16383 - 700 + static_cast<int>(rng() % 1400) : static_cast<int>(rng() % 0x7FFF);
  uint64_t significand = rng();
  if (rng() % 8 == 0) significand &= ~uint64_t{0} << (rng() % 64);  // short significands
  if (exponent == 0) {
    significand >>= 1 + rng() % 63;
  } else {
    significand |= uint64_t{1} << 63;
  }
  return Extended((rng() & 1) != 0, exponent, significand);
}

// The field values from `first` to `last`: parsed, computed and written as the x87 unit does.
// Returns the first difference, or nothing.
std::string CheckFieldValues(int first, int last) {
  char text[] = "0000,000";
  double previous[9] = {};
  for (int value = first; value <= last; value += kFieldStep) {
    int v = value;
    for (int i = 7; i >= 0; --i) {
      if (i == 4) continue;
      text[i] = static_cast<char>('0' + v % 10);
      v /= 10;
    }
    const std::optional<Extended> parsed = TextToFloat(text, ',');
    long double reference = 0;
    if (!parsed || !x87::TextToFloat(text, reference, ',') || !Same(*parsed, reference)) {
      return std::string(text) + " parses differently";
    }
    const double frequency = static_cast<double>(*parsed);
    const DimensionSet d = ComputeDimensions(frequency);
    const x87::Dimensions r = x87::ComputeDimensions(static_cast<double>(reference));
    const double ours[] = {d.wavelength, d.Z, d.R, d.RZ, d.x, d.Tz, d.Tr, d.Q_low, d.Q_high};
    const double theirs[] = {r.wavelength, r.Z, r.R, r.RZ, r.x, r.Tz, r.Tr, r.Q_low, r.Q_high};
    if (std::memcmp(ours, theirs, sizeof ours) != 0)
      return std::string(text) + " computes differently";
    // The texts are laid out from these digits by the same code. Neighbouring frequencies
    // mostly share their dimensions, which need checking once.
    if (const auto same = SameDigits(frequency, 15); !same)
      return text + std::string(same.message());
    for (size_t i = 0; i < std::size(ours); ++i) {
      if (ours[i] != previous[i]) {
        if (const auto same = SameDigits(ours[i], 15); !same)
          return text + std::string(same.message());
      }
      previous[i] = ours[i];
    }
  }
  return {};
}

TEST(X87Differential, EveryFieldTextThroughTheWholeCalculation) {
  SetDecimalSeparator(',');
  // Two halves side by side, for the two cores these machines have.
  std::string upper;
  std::thread other([&upper] { upper = CheckFieldValues(5000000 + 1, 9999999); });
  const std::string lower = CheckFieldValues(1, 5000000);
  other.join();
  SetDecimalSeparator('.');
  EXPECT_EQ(lower, "");
  EXPECT_EQ(upper, "");
}

std::string RandomNumberText(std::mt19937_64& rng) {
  static const char* const kPieces[] = {" ", "-", "+", ",", "E", "e", "E-", "E+", "."};
  std::string s;
  auto digits = [&](int max) {
    const int n = static_cast<int>(rng() % (max + 1));
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + rng() % 10);
  };
  if (rng() % 4 == 0) s += ' ';
  if (rng() % 3 == 0) s += (rng() & 1) ? '-' : '+';
  digits(rng() % 4 == 0 ? 30 : 12);
  if (rng() % 2 == 0) s += ',';
  digits(rng() % 4 == 0 ? 30 : 8);
  if (rng() % 2 == 0) {
    s += (rng() & 1) ? 'E' : 'e';
    if (rng() % 2 == 0) s += (rng() & 1) ? '-' : '+';
    digits(5);
  }
  if (rng() % 20 == 0) s.insert(rng() % (s.size() + 1), kPieces[rng() % 9]);
  if (rng() % 4 == 0) s += "  ";
  return s;
}

TEST(X87Differential, RandomTextsThroughTheParser) {
  std::mt19937_64 rng(1);
  int converted = 0;
  for (int i = 0; i < kRandomCount; ++i) {
    const std::string text = RandomNumberText(rng);
    const std::optional<Extended> ours = TextToFloat(text.c_str(), ',');
    long double reference = 0;
    ASSERT_EQ(ours.has_value(), x87::TextToFloat(text.c_str(), reference, ',')) << text;
    if (ours) {
      ASSERT_TRUE(Same(*ours, reference)) << "'" << text << "'";
      ++converted;
    }
  }
  EXPECT_GT(converted, kRandomCount / 3);
}

TEST(X87Differential, RandomValuesThroughTheFormatter) {
  std::mt19937_64 rng(2);
  for (int i = 0; i < kRandomCount; ++i) {
    const Extended x = RandomExtended(rng);
    ASSERT_TRUE(SameDigits(x, 18));
    ASSERT_TRUE(SameDigits(x, 15));
    uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    ASSERT_TRUE(SameDigits(d, 15)) << d;
  }
}

TEST(X87Differential, RandomScalingAndArithmetic) {
  std::mt19937_64 rng(3);
  for (int i = 0; i < kRandomCount; ++i) {
    const Extended x = RandomExtended(rng);
    const Extended y = RandomExtended(rng);
    const long double lx = x87::ToLong(x);
    const long double ly = x87::ToLong(y);
    const int n = static_cast<int>(rng() % 10400) - 5200;
    ASSERT_TRUE(
        Agrees([&] { return ScaleByPow10(x, n); }, [&] { return x87::ScaleByPow10(lx, n); }))
        << n;
    ASSERT_TRUE(Agrees([&] { return Multiply(x, y); }, [&] { return lx * ly; }));
    ASSERT_TRUE(Agrees([&] { return Divide(x, y); }, [&] { return lx / ly; }));
    // Sums need operands of nearby size to do more than return the larger one.
    const Extended z(rng() & 1, std::max(1, x.exponent - static_cast<int>(rng() % 130)),
                     y.significand | uint64_t{1} << 63);
    const long double lz = x87::ToLong(z);
    ASSERT_TRUE(Agrees([&] { return Add(x, y); }, [&] { return lx + ly; }));
    ASSERT_TRUE(Agrees([&] { return Add(x, z); }, [&] { return lx + lz; }));
    ASSERT_TRUE(Agrees([&] { return Subtract(x, z); }, [&] { return lx - lz; }));
    const double narrowed = static_cast<double>(lx);
    const double ours = static_cast<double>(x);
    ASSERT_EQ(std::memcmp(&ours, &narrowed, sizeof ours), 0);
    x87::ClearFlags();
  }
}

}  // namespace
}  // namespace hb9cv

#endif

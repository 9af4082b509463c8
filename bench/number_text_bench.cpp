// FloatToStr and StrToFloat side by side with the standard library's conversions on the same
// numbers: shortest to_chars, from_chars. Two kinds of number: the frequency field's texts
// ("0145,500") and its values, and 12-digit wavelengths like those the program shows.
#include <benchmark/benchmark.h>

#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "calc/number_text.h"

namespace {

constexpr size_t kCount = 1024;

// Wavelengths for frequencies over the field's range.
std::vector<double> Wavelengths() {
  std::vector<double> v;
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> freq(0.001, 9999.999);
  for (size_t i = 0; i < kCount; ++i) v.push_back(300.0 / freq(rng));
  return v;
}

// The field's values: four integer and three fraction digits.
std::vector<double> FieldValues() {
  std::vector<double> v;
  std::mt19937_64 rng(43);
  for (size_t i = 0; i < kCount; ++i) v.push_back(static_cast<double>(rng() % 10000000) / 1000);
  return v;
}

std::vector<std::string> Texts(const std::vector<double>& values, int fractionDigits,
                               char separator) {
  std::vector<std::string> t;
  for (double d : values) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, fractionDigits);
    std::string s(buf, r.ptr);
    for (char& c : s)
      if (c == '.') c = separator;
    if (fractionDigits == 3) s.insert(0, 8 - s.size(), '0');  // "0145,500"
    t.push_back(s);
  }
  return t;
}

void FloatToStrOn(benchmark::State& state, const std::vector<double>& values) {
  hb9cv::SetDecimalSeparator(',');
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(hb9cv::FloatToStr(values[i++ & (kCount - 1)]));
}

void ToCharsOn(benchmark::State& state, const std::vector<double>& values) {
  size_t i = 0;
  char buf[64];
  for (auto _ : state) {
    auto r = std::to_chars(buf, buf + sizeof buf, values[i++ & (kCount - 1)]);
    benchmark::DoNotOptimize(std::string(buf, r.ptr));
  }
}

void StrToFloatOn(benchmark::State& state, const std::vector<std::string>& texts) {
  hb9cv::SetDecimalSeparator(',');
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(static_cast<double>(hb9cv::StrToFloat(texts[i++ & (kCount - 1)])));
  }
}

void FromCharsOn(benchmark::State& state, const std::vector<std::string>& texts) {
  size_t i = 0;
  for (auto _ : state) {
    const std::string& s = texts[i++ & (kCount - 1)];
    double d;
    std::from_chars(s.data(), s.data() + s.size(), d);
    benchmark::DoNotOptimize(d);
  }
}

void BM_FloatToStr(benchmark::State& state) {
  FloatToStrOn(state, Wavelengths());
}
BENCHMARK(BM_FloatToStr);
void BM_ToCharsShortest(benchmark::State& state) {
  ToCharsOn(state, Wavelengths());
}
BENCHMARK(BM_ToCharsShortest);
void BM_FloatToStrFieldValue(benchmark::State& state) {
  FloatToStrOn(state, FieldValues());
}
BENCHMARK(BM_FloatToStrFieldValue);
void BM_ToCharsFieldValue(benchmark::State& state) {
  ToCharsOn(state, FieldValues());
}
BENCHMARK(BM_ToCharsFieldValue);

void BM_StrToFloat(benchmark::State& state) {
  StrToFloatOn(state, Texts(Wavelengths(), 12, ','));
}
BENCHMARK(BM_StrToFloat);
void BM_FromChars(benchmark::State& state) {
  FromCharsOn(state, Texts(Wavelengths(), 12, '.'));
}
BENCHMARK(BM_FromChars);
void BM_StrToFloatFieldTexts(benchmark::State& state) {
  StrToFloatOn(state, Texts(FieldValues(), 3, ','));
}
BENCHMARK(BM_StrToFloatFieldTexts);
void BM_FromCharsFieldTexts(benchmark::State& state) {
  FromCharsOn(state, Texts(FieldValues(), 3, '.'));
}
BENCHMARK(BM_FromCharsFieldTexts);

// The one text the compute command converts most: the field as it opens.
void BM_ComputeFieldText(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(static_cast<double>(hb9cv::StrToFloat("0145,500", ',')));
  }
}
BENCHMARK(BM_ComputeFieldText);
void BM_FromCharsOneFieldText(benchmark::State& state) {
  const std::string text = "0145.500";
  for (auto _ : state) {
    double d;
    std::from_chars(text.data(), text.data() + text.size(), d);
    benchmark::DoNotOptimize(d);
  }
}
BENCHMARK(BM_FromCharsOneFieldText);

}  // namespace

// FloatToStr and StrToFloat against the standard library's shortest round-trip conversions
// on the same doubles: the dimensions the program shows and a spread of magnitudes.
#include <benchmark/benchmark.h>

#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "calc/number_text.h"

namespace {

std::vector<double> Doubles() {
  std::vector<double> v;
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> freq(0.001, 9999.999);
  for (int i = 0; i < 1024; ++i) v.push_back(300.0 / freq(rng));
  return v;
}

std::vector<std::string> Texts(char separator) {
  std::vector<std::string> t;
  for (double d : Doubles()) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, 12);
    std::string s(buf, r.ptr);
    for (char& c : s)
      if (c == '.') c = separator;
    t.push_back(s);
  }
  return t;
}

void BM_FloatToStr(benchmark::State& state) {
  hb9cv::SetDecimalSeparator(',');
  const auto values = Doubles();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(hb9cv::FloatToStr(values[i++ & 1023]));
  }
}
BENCHMARK(BM_FloatToStr);

void BM_ToCharsShortest(benchmark::State& state) {
  const auto values = Doubles();
  size_t i = 0;
  char buf[64];
  for (auto _ : state) {
    auto r = std::to_chars(buf, buf + sizeof buf, values[i++ & 1023]);
    benchmark::DoNotOptimize(std::string(buf, r.ptr));
  }
}
BENCHMARK(BM_ToCharsShortest);

void BM_StrToFloat(benchmark::State& state) {
  hb9cv::SetDecimalSeparator(',');
  const auto texts = Texts(',');
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(hb9cv::StrToFloat(texts[i++ & 1023]));
  }
}
BENCHMARK(BM_StrToFloat);

void BM_FromChars(benchmark::State& state) {
  const auto texts = Texts('.');
  size_t i = 0;
  for (auto _ : state) {
    const std::string& s = texts[i++ & 1023];
    double d;
    std::from_chars(s.data(), s.data() + s.size(), d);
    benchmark::DoNotOptimize(d);
  }
}
BENCHMARK(BM_FromChars);

void BM_ComputeFieldText(benchmark::State& state) {
  hb9cv::SetDecimalSeparator(',');
  for (auto _ : state) {
    benchmark::DoNotOptimize(hb9cv::StrToFloat("0145,500", ','));
  }
}
BENCHMARK(BM_ComputeFieldText);

}  // namespace

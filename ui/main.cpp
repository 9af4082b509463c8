// Temporary entry point until the main window exists: prints the dimensions for 145 MHz.
#include <cstdio>

#include "calc/dimensions.h"
#include "calc/number_text.h"

int main() {
  hb9cv::ReadFormatSettings();
  const auto d = hb9cv::ComputeDimensions(145.0);
  std::printf("%s\n%s\n%s\n%s\n", d.frequency_text.c_str(), d.wavelength_text.c_str(),
              d.Z_text.c_str(), d.diameter_text.c_str());
  return 0;
}

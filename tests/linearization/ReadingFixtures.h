#pragma once

// Sample measurement files of every format the readers take, written from
// the formats' descriptions, and wedges of readings to fill them with.

#include <cmath>
#include <string>
#include <vector>

#include "linearization/CIELab.h"
#include "platform/text/Text.h"

namespace fixtures {

using linearization::CIELab;

inline std::string num(double v) { return platform::text::fixedDecimal(v, 2); }

inline std::string joined(const std::vector<std::string>& fields, const std::string& sep = "\t") {
  return platform::text::join(fields, sep);
}

// A wedge of `steps` steps, L* falling evenly from 95 to 5, a* and b* each in
// a pattern of its own; every step measured `samples` times, the samples of a
// step next to each other or, with `passes`, the whole wedge again and again.
inline std::vector<CIELab> wedge(int steps, int samples = 1, bool passes = false) {
  std::vector<CIELab> readings;
  const auto at = [steps](int k) {
    return CIELab{95.0 - 90.0 * k / (steps - 1), 0.5 * (k % 3), -0.25 * (k % 4)};
  };
  for (int outer = 0; outer < (passes ? samples : steps); ++outer) {
    for (int inner = 0; inner < (passes ? steps : samples); ++inner) readings.push_back(at(passes ? inner : outer));
  }
  return readings;
}

// L* of step k of a wedge of `steps` steps falling evenly from 95 to 5; with
// `dip` the steps from 40 % to 50 % of the way lie 5 darker, so that the step
// after them is lighter than they are.
inline double stepLightness(int steps, int k, bool dip = false) {
  const double x = static_cast<double>(k) / (steps - 1);
  return 95.0 - 90.0 * x - (dip && x >= 0.4 && x < 0.5 ? 5.0 : 0.0);
}

// L* of step k of a print of another shape, paper white (95) first, the
// darkest 5: an uncorrected print whose S has a slope of 10 (10 L* between
// middle steps, a few tenths at the ends), or one falling as the 2.5th power.
inline double steepLightness(int steps, int k) {
  const double x = static_cast<double>(k) / (steps - 1);
  const auto s = [](double t) { return 1 / (1 + std::exp(10 * (t - 0.5))); };
  return 5 + 90 * (s(x) - s(1)) / (s(0) - s(1));
}
inline double powerLightness(int steps, int k) {
  return 5 + 90 * std::pow(1 - static_cast<double>(k) / (steps - 1), 2.5);
}

// A CGATS (or, with a space as separator and first line "CTI3", an Argyll
// .ti3) file: the keyword header, the field names, NUMBER_OF_SETS and the data
// rows. With `rgb` the names hold RGB_R..RGB_B before LAB_L and row k carries
// rgb[k] in them; without, the rows are SAMPLE_ID and L*, a*, b*.
inline std::vector<std::string> cgatsLines(const std::vector<CIELab>& readings, const std::vector<double>& rgb,
                                           const std::string& sep = "\t", const std::string& first = "CGATS.17") {
  const bool withRgb = !rgb.empty();
  std::vector<std::string> lines{first, "NUMBER_OF_FIELDS" + sep + (withRgb ? "7" : "4"), "BEGIN_DATA_FORMAT"};
  lines.push_back(withRgb ? joined({"SAMPLE_ID", "RGB_R", "RGB_G", "RGB_B", "LAB_L", "LAB_A", "LAB_B"}, sep)
                          : joined({"SAMPLE_ID", "LAB_L", "LAB_A", "LAB_B"}, sep));
  lines.push_back("END_DATA_FORMAT");
  lines.push_back("NUMBER_OF_SETS" + sep + std::to_string(readings.size()));
  lines.push_back("BEGIN_DATA");
  for (std::size_t k = 0; k < readings.size(); ++k) {
    std::vector<std::string> row{std::to_string(k + 1)};
    if (withRgb) row.insert(row.end(), 3, num(rgb[k]));
    for (double v : {readings[k].L, readings[k].a, readings[k].b}) row.push_back(num(v));
    lines.push_back(joined(row, sep));
  }
  lines.push_back("END_DATA");
  return lines;
}

// RGB values falling with the wedge, so the data-set sort keeps file order.
inline std::vector<double> fallingRgb(std::size_t count) {
  std::vector<double> rgb;
  for (std::size_t k = 0; k < count; ++k) rgb.push_back(static_cast<double>(count - k));
  return rgb;
}

// Header lines, then one TAB-separated row per reading with L*, a*, b* from
// field `column` on (the fields before it: the row number, then names), then
// trailer lines.
inline std::vector<std::string> tableLines(const std::vector<std::string>& header,
                                           const std::vector<CIELab>& readings, int column,
                                           const std::vector<std::string>& trailer = {}) {
  std::vector<std::string> lines = header;
  for (std::size_t k = 0; k < readings.size(); ++k) {
    std::vector<std::string> row;
    for (int c = 0; c < column; ++c) row.push_back(c == 0 ? std::to_string(k + 1) : "S" + std::to_string(k + 1));
    for (double v : {readings[k].L, readings[k].a, readings[k].b}) row.push_back(num(v));
    lines.push_back(joined(row));
  }
  lines.insert(lines.end(), trailer.begin(), trailer.end());
  return lines;
}

}  // namespace fixtures

#include "support/SampleFiles.h"

#include "platform/text/Text.h"

namespace testsupport {

namespace {
std::string two(double v) { return platform::text::fixedDecimal(v, 2); }
}  // namespace

std::string cgatsWedge(const std::vector<double>& Ls) {
  std::string s =
      "CGATS.17\n"
      "ORIGINATOR\t\"test wedge\"\n"
      "NUMBER_OF_FIELDS\t5\n"
      "BEGIN_DATA_FORMAT\n"
      "SAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B\n"
      "END_DATA_FORMAT\n"
      "NUMBER_OF_SETS\t" +
      std::to_string(Ls.size()) + "\nBEGIN_DATA\n";
  for (size_t i = 0; i < Ls.size(); ++i)
    s += std::to_string(i + 1) + "\tA" + std::to_string(i + 1) + "\t" + two(Ls[i]) + "\t0.50\t1.50\n";
  s += "END_DATA\n";
  return s;
}

std::vector<double> evenLstar(int steps, double from, double to) {
  std::vector<double> v;
  for (int i = 0; i < steps; ++i) v.push_back(from + (to - from) * i / (steps - 1));
  return v;
}

std::string quadFileText(const std::string& header, const std::vector<std::string>& markers,
                         const std::function<double(int, int)>& level, const std::vector<std::string>& comments) {
  std::string s = header;
  for (const auto& c : comments) s += "\n" + c;
  for (size_t c = 0; c < markers.size(); ++c) {
    s += "\n" + markers[c];
    for (int i = 0; i < 256; ++i) s += "\n" + std::to_string(static_cast<long long>(level(static_cast<int>(c), i)));
  }
  return s + "\n";
}

const std::vector<std::string>& eightChannelMarkers() {
  static const std::vector<std::string> markers = {"# K Curve",  "# C Curve",  "# M Curve",  "# Y Curve",
                                                   "# LC Curve", "# LM Curve", "# LK Curve", "# LLK Curve"};
  return markers;
}

std::string rampedQuadText() {
  return quadFileText("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK", eightChannelMarkers(),
                      [](int c, int i) { return c % 3 == 0 ? 180.0 * i + 60 * c : 0.0; });
}

}  // namespace testsupport

#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/Host.h"

namespace linearization {

// A Photoshop curves (.acv) file: a composite curve and the red, green and
// blue curves, each a short list of points on the 0..255 scale, stored as
// words. Used with unsigned 16-bit words.
template <typename Word>
class PhotoshopCurve {
 public:
  // One point: (output, input), in the order the file stores them.
  using Point = std::pair<Word, Word>;

  virtual ~PhotoshopCurve() = default;

  // The number of curves the file announces: 5 for RGB (composite, red,
  // green, blue and one more).
  Word nChannels = 5;
  std::vector<Point> compCurvePoints{{0, 0}, {255, 255}};
  std::vector<Point> rCurvePoints{{0, 0}, {255, 255}};
  std::vector<Point> gCurvePoints{{0, 0}, {255, 255}};
  std::vector<Point> bCurvePoints{{0, 0}, {255, 255}};

  // The file's words: version 4, nChannels, then for nChannels 5 the five
  // curves. Logs the kind of file ("RGB Curve", "Grayscale Curve" for 2,
  // "CMYK Curve" for 6, "unknown curve type" otherwise); for any count but 5
  // only the first two words are given.
  virtual std::vector<Word> makeACVWords(platform::Host* host = nullptr) const {
    std::vector<Word> words{4, nChannels};
    switch (nChannels) {
      case 5: {
        if (host) host->log("RGB Curve");
        auto curves = allCurveWords();
        words.insert(words.end(), curves.begin(), curves.end());
        break;
      }
      case 2:
        if (host) host->log("Grayscale Curve");
        break;
      case 6:
        if (host) host->log("CMYK Curve");
        break;
      default:
        if (host) host->log("unknown curve type");
        break;
    }
    return words;
  }

  // Composite, red, green and blue curves, then the fixed identity curve.
  virtual std::vector<Word> allCurveWords() const {
    std::vector<Word> words;
    for (const auto* points : {&compCurvePoints, &rCurvePoints, &gCurvePoints, &bCurvePoints}) {
      auto curve = curveWords(*points);
      words.insert(words.end(), curve.begin(), curve.end());
    }
    auto identity = identityCurveWords();
    words.insert(words.end(), identity.begin(), identity.end());
    return words;
  }

  // The point count, then each point's output and input.
  virtual std::vector<Word> curveWords(const std::vector<Point>& points) const {
    std::vector<Word> words{static_cast<Word>(points.size())};
    for (const auto& [output, input] : points) {
      words.push_back(output);
      words.push_back(input);
    }
    return words;
  }

  // Two points, (0, 0) and (255, 255).
  virtual std::vector<Word> identityCurveWords() const { return {2, 0, 0, 255, 255}; }
};

// The bytes of an .acv file: each word high byte first.
std::string acvBytes(const std::vector<uint16_t>& words);

}  // namespace linearization

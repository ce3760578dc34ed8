#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ScopedSetting.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextAttributes.h"

namespace platform::graphics {

// Measures text the way a drawing context lays it out. Text is UTF-8; a line
// feed always starts a new line. An empty text measures (0, 0).
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;

  // The size of the text laid out without wrapping: the widest line by the
  // number of lines times the line spacing.
  virtual Size size(std::string_view text, const TextAttributes& attributes) const = 0;
  // The box the text fills when laid out from (0, 0) within `constraint`: a
  // width of 0 (or less) keeps each line whole, a positive width wraps
  // greedily at spaces (a word longer than the width stays whole on a line of
  // its own). The height does not cut lines off.
  virtual Rect boundingRect(std::string_view text, Size constraint, const TextAttributes& attributes) const = 0;
  // The height of the font's bounding box: the line height labels are placed
  // by.
  virtual double fontLineHeight(const Font& font) const = 0;
  // Whether these metrics measure every text as `other` does: the same
  // metrics do, and metrics of a kind that has no settings of its own may
  // say so for every other of that kind.
  virtual bool measuresLike(const TextMetrics& other) const { return &other == this; }
};

// The metrics text is measured with on the calling thread: those a view has
// put in force there for the layout or draw it is doing (ScopedThreadTextMetrics),
// else the installed metrics. The reference stays valid on this thread until
// its next call.
const TextMetrics& currentTextMetrics();
// The installed metrics: FixedTextMetrics until a program installs others
// (platform::cairo::ScopedCairoBackend installs Cairo's). A chart view takes
// them when it is made. Safe to call from any thread.
std::shared_ptr<const TextMetrics> installedTextMetrics();
// Installs `metrics` (nullptr restores FixedTextMetrics) and returns the
// metrics that were installed. Views made before keep the metrics they have;
// install them before other threads measure.
std::shared_ptr<const TextMetrics> setCurrentTextMetrics(std::shared_ptr<const TextMetrics> metrics);
// Other installed metrics (nullptr: FixedTextMetrics) for one scope.
using ScopedTextMetrics = ScopedSetting<std::shared_ptr<const TextMetrics>, &setCurrentTextMetrics>;

// Puts metrics in force on the calling thread alone, for one scope: a chart
// view holds one while it lays itself out or draws, so that the axes,
// legend and renderers it calls measure with the view's own metrics. Other
// threads and the installed metrics are left alone; scopes nest, each
// putting back what was in force on the thread when it began.
class ScopedThreadTextMetrics {
 public:
  [[nodiscard]] explicit ScopedThreadTextMetrics(std::shared_ptr<const TextMetrics> metrics);
  ~ScopedThreadTextMetrics();
  ScopedThreadTextMetrics(const ScopedThreadTextMetrics&) = delete;
  ScopedThreadTextMetrics& operator=(const ScopedThreadTextMetrics&) = delete;

 private:
  std::shared_ptr<const TextMetrics> metrics_;
  const TextMetrics* previous_;
};

// Breaks text into lines: at every line feed, and, when `maxWidth` is
// positive, greedily at spaces so that each line's `width` stays within it.
// The space a line is broken at belongs to neither line. An empty text has no
// lines.
std::vector<std::string> breakLines(std::string_view text, double maxWidth,
                                    const std::function<double(std::string_view line)>& width);

// The number of code points of a UTF-8 text (bytes that do not continue a
// sequence).
int64_t codePointCount(std::string_view text);

}  // namespace platform::graphics

#pragma once

#include <optional>

#include "Chart/Data/ILineScatterCandleRadarChartDataSet.h"

namespace chart {

// What the candle-stick renderer and the legend ask of a candle data set:
// how its candles are spaced, coloured and filled.
struct ICandleChartDataSet : virtual ILineScatterCandleRadarChartDataSet {
  // The space left between candles, in [0, 0.45].
  virtual double barSpace() const = 0;
  virtual void setBarSpace(double space) = 0;
  virtual bool showCandleBar() const = 0;
  virtual void setShowCandleBar(bool show) = 0;
  virtual double shadowWidth() const = 0;
  virtual void setShadowWidth(double width) = 0;
  virtual std::optional<Color> shadowColor() const = 0;
  virtual void setShadowColor(std::optional<Color> color) = 0;
  virtual bool shadowColorSameAsCandle() const = 0;
  virtual void setShadowColorSameAsCandle(bool same) = 0;
  virtual bool isShadowColorSameAsCandle() const = 0;
  virtual std::optional<Color> neutralColor() const = 0;
  virtual void setNeutralColor(std::optional<Color> color) = 0;
  virtual std::optional<Color> increasingColor() const = 0;
  virtual void setIncreasingColor(std::optional<Color> color) = 0;
  virtual std::optional<Color> decreasingColor() const = 0;
  virtual void setDecreasingColor(std::optional<Color> color) = 0;
  virtual bool increasingFilled() const = 0;
  virtual void setIncreasingFilled(bool filled) = 0;
  virtual bool isIncreasingFilled() const = 0;
  virtual bool decreasingFilled() const = 0;
  virtual void setDecreasingFilled(bool filled) = 0;
  virtual bool isDecreasingFilled() const = 0;
};

}  // namespace chart

#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "Chart/Utils/AxisDependency.h"
#include "platform/graphics/Geometry.h"

namespace chart {

// One highlighted value: its x and y, where it lies in pixels, the data set
// (and in a combined chart the sub-data, in a stacked bar the stack value) it
// belongs to and the y axis it is plotted against. Fixed at creation except
// dataIndex, which a combined chart's highlighter sets, and drawX/drawY, which
// the renderer that draws the highlight sets. Held by std::shared_ptr.
class Highlight {
 public:
  // Not-a-number values and pixels, dataIndex -1, dataSetIndex 0,
  // stackIndex -1, axis left.
  Highlight() = default;
  explicit Highlight(double x, double y, double xPx, double yPx, int64_t dataIndex, int64_t dataSetIndex,
                     int64_t stackIndex, AxisDependency axis);
  // Note: this form sets dataIndex 0, not -1 like its siblings.
  explicit Highlight(double x, double y, double xPx, double yPx, int64_t dataSetIndex, int64_t stackIndex,
                     AxisDependency axis);
  explicit Highlight(double x, double y, double xPx, double yPx, int64_t dataSetIndex, AxisDependency axis);
  // Pixels not-a-number, stackIndex -1, axis left.
  explicit Highlight(double x, double y, int64_t dataSetIndex, int64_t dataIndex);
  // y and pixels not-a-number, dataIndex -1, axis left.
  explicit Highlight(double x, int64_t dataSetIndex, int64_t stackIndex);

  // The forms above take the data-set index and the sub-data index in
  // opposite orders. These twins take each index in a type of its own, so
  // that a swapped pair does not compile:
  //   Highlight(x, y, Highlight::DataSetIndex{1}, Highlight::DataIndex{0})
  struct DataIndex {
    int64_t value;
  };
  struct DataSetIndex {
    int64_t value;
  };
  struct StackIndex {
    int64_t value;
  };
  explicit Highlight(double x, double y, double xPx, double yPx, DataIndex dataIndex, DataSetIndex dataSetIndex,
                     StackIndex stackIndex, AxisDependency axis)
      : Highlight(x, y, xPx, yPx, dataIndex.value, dataSetIndex.value, stackIndex.value, axis) {}
  explicit Highlight(double x, double y, double xPx, double yPx, DataSetIndex dataSetIndex, StackIndex stackIndex,
                     AxisDependency axis)
      : Highlight(x, y, xPx, yPx, dataSetIndex.value, stackIndex.value, axis) {}
  explicit Highlight(double x, double y, DataSetIndex dataSetIndex, DataIndex dataIndex)
      : Highlight(x, y, dataSetIndex.value, dataIndex.value) {}
  explicit Highlight(double x, DataSetIndex dataSetIndex, StackIndex stackIndex)
      : Highlight(x, dataSetIndex.value, stackIndex.value) {}

  Highlight(const Highlight&) = delete;
  Highlight& operator=(const Highlight&) = delete;
  virtual ~Highlight() = default;

  virtual double x() const { return x_; }
  virtual double y() const { return y_; }
  virtual double xPx() const { return xPx_; }
  virtual double yPx() const { return yPx_; }
  virtual int64_t dataIndex() const { return dataIndex_; }
  virtual void setDataIndex(int64_t index) { dataIndex_ = index; }
  virtual int64_t dataSetIndex() const { return dataSetIndex_; }
  virtual int64_t stackIndex() const { return stackIndex_; }
  virtual AxisDependency axis() const { return axis_; }
  virtual double drawX() const { return drawX_; }
  virtual void setDrawX(double x) { drawX_ = x; }
  virtual double drawY() const { return drawY_; }
  virtual void setDrawY(double y) { drawY_ = y; }

  virtual bool isStacked() const { return stackIndex() >= 0; }
  virtual void setDraw(double x, double y);
  virtual void setDraw(platform::graphics::Point pt);

  // Equal when x, y, dataIndex, dataSetIndex and stackIndex are equal; pixel
  // positions, axis and draw position take no part. A not-a-number x or y
  // makes a highlight equal only to itself.
  virtual bool isEqual(const Highlight* other) const;
  // "Highlight, x: 3.0, y: nan, dataIndex (combined charts): -1, ..."; for
  // diagnostics.
  virtual std::string description() const;

 private:
  static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

  double x_ = nan;
  double y_ = nan;
  double xPx_ = nan;
  double yPx_ = nan;
  int64_t dataIndex_ = -1;
  int64_t dataSetIndex_ = 0;
  int64_t stackIndex_ = -1;
  AxisDependency axis_ = AxisDependency::left;
  double drawX_ = 0;
  double drawY_ = 0;
};

}  // namespace chart

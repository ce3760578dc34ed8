#pragma once

namespace chart {

// The interval (from, to] of y values that one value of a stacked bar
// covers: it holds its upper end but not its lower one. The ends are stored
// as given, so a range whose from is above its to contains nothing. Held by
// std::shared_ptr.
class Range {
 public:
  Range(double from, double to) : from_(from), to_(to) {}
  Range(const Range&) = delete;
  Range& operator=(const Range&) = delete;
  virtual ~Range() = default;

  virtual double from() const { return from_; }
  virtual void setFrom(double from) { from_ = from; }
  virtual double to() const { return to_; }
  virtual void setTo(double to) { to_ = to; }

  // from < value <= to.
  virtual bool contains(double value) const { return from() < value && value <= to(); }
  virtual bool isLarger(double value) const { return value > to(); }
  virtual bool isSmaller(double value) const { return value < from(); }

 private:
  double from_;
  double to_;
};

}  // namespace chart

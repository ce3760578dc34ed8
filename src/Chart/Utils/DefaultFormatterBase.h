#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/text/NumberFormatter.h"

namespace chart {

// What the default value formatter and the default axis formatter share:
// an optional block that, when set, makes the text; otherwise a number
// formatter showing `decimals` fraction digits with grouping.
//
// The accessors are virtual and the text is made through them, so a subclass
// that overrides one changes the text. The constructors call this class's own
// setters (a constructor does not reach overrides).
template <class Block>
class DefaultFormatterBase {
 public:
  using NumberFormatter = platform::text::NumberFormatter;

  virtual ~DefaultFormatterBase() = default;

  virtual const Block& block() const { return block_; }
  virtual void setBlock(Block block) { block_ = std::move(block); }

  // Whether the formatter was made with automatic decimals; kept for callers,
  // read by nothing here.
  virtual bool hasAutoDecimals() const { return hasAutoDecimals_; }
  virtual void setHasAutoDecimals(bool value) { hasAutoDecimals_ = value; }

  virtual std::shared_ptr<NumberFormatter> formatter() const { return formatter_; }
  // Clears hasAutoDecimals, then stores the formatter (absent allowed).
  virtual void setFormatter(std::shared_ptr<NumberFormatter> formatter) {
    setHasAutoDecimals(false);
    formatter_ = std::move(formatter);
  }

  virtual std::optional<int> decimals() const { return decimals_; }
  // A count also sets the number formatter's fraction digits (both minimum
  // and maximum) and switches its grouping on; absent only clears the count.
  virtual void setDecimals(std::optional<int> decimals) {
    decimals_ = decimals;
    if (!decimals) return;
    if (const auto f = formatter()) {
      f->setMinimumFractionDigits(*decimals);
      f->setMaximumFractionDigits(*decimals);
      f->setUsesGroupingSeparator(true);
    }
  }

 protected:
  // A new plain number formatter; automatic decimals, none set yet.
  DefaultFormatterBase() {
    setFormatter(std::make_shared<NumberFormatter>());
    setHasAutoDecimals(true);
  }
  explicit DefaultFormatterBase(std::shared_ptr<NumberFormatter> formatter) { setFormatter(std::move(formatter)); }
  // A new number formatter with grouping and the given fraction digits.
  explicit DefaultFormatterBase(int decimals) {
    setFormatter(std::make_shared<NumberFormatter>());
    formatter_->setUsesGroupingSeparator(true);
    setDecimals(decimals);
    setHasAutoDecimals(true);
  }
  explicit DefaultFormatterBase(Block block) : block_(std::move(block)) {}

  DefaultFormatterBase(const DefaultFormatterBase&) = delete;
  DefaultFormatterBase& operator=(const DefaultFormatterBase&) = delete;

  // The block's text when there is a block, else the number formatter's,
  // else "".
  template <class... Args>
  std::string text(double value, Args&&... args) const {
    if (const Block& b = block()) return b(value, std::forward<Args>(args)...);
    if (const auto f = formatter()) return f->string(value).value_or("");
    return "";
  }

 private:
  Block block_;
  bool hasAutoDecimals_ = false;
  std::shared_ptr<NumberFormatter> formatter_;
  std::optional<int> decimals_;
};

}  // namespace chart

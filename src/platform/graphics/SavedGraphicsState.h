#pragma once

#include "platform/graphics/DrawingContext.h"

namespace platform::graphics {

// The graphics state saved for one scope: made, it saves the context's state;
// destroyed, it restores it, on every way out of the scope. Every drawing
// routine that changes colours, widths, dashes, the clip or the
// transformation makes one first, so that none of those settings leaks into
// whatever is drawn next and no restore can be forgotten:
//
//   const SavedGraphicsState saved(context);
//   context.setStrokeColor(...);
//
// The context must outlive the guard.
class SavedGraphicsState {
 public:
  [[nodiscard]] explicit SavedGraphicsState(DrawingContext& context) : context_(context) { context_.saveGState(); }
  ~SavedGraphicsState() { context_.restoreGState(); }
  SavedGraphicsState(const SavedGraphicsState&) = delete;
  SavedGraphicsState& operator=(const SavedGraphicsState&) = delete;

 private:
  DrawingContext& context_;
};

}  // namespace platform::graphics

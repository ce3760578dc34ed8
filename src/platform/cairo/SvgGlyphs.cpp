#include "platform/cairo/SvgGlyphs.h"

#include <cairo.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace platform::cairo {

using graphics::Color;
using graphics::farshapes::Box;

namespace {

// A number as SVG takes it: at most four decimals, no trailing zeros, never
// "-0". A ten-thousandth of a pixel is far below what any zoom shows.
void appendNumber(std::string& out, double value) {
  if (!std::isfinite(value)) value = 0;
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
  if (error != std::errc()) {
    out += '0';
    return;
  }
  char* last = end;
  while (last > buffer && last[-1] == '0') --last;
  if (last > buffer && last[-1] == '.') --last;
  const std::string_view digits(buffer, static_cast<size_t>(last - buffer));
  out += digits == "-0" || digits.empty() ? std::string_view("0") : digits;
}

double component(double value) { return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0); }

// What identifies a glyph's outline: the font's family, its matrix (the
// size, and any slant or stretch) and the glyph. The outline is the same in
// every SVG document, for the SVG surface lays glyphs out unhinted.
std::string outlineKey(std::string_view family, const cairo_matrix_t& fontMatrix, unsigned long glyph) {
  std::string key(family);
  key += '\0';
  for (const double v : {fontMatrix.xx, fontMatrix.yx, fontMatrix.xy, fontMatrix.yy}) {
    char bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    key.append(bytes, sizeof v);
  }
  key.append(reinterpret_cast<const char*>(&glyph), sizeof glyph);
  return key;
}

// The outlines made so far, for every SVG document of the process. A plot
// uses a few hundred; the cache is emptied should some caller's text run it
// past many thousands.
class OutlineCache {
 public:
  std::shared_ptr<const std::string> find(const std::string& key) {
    const std::lock_guard lock(mutex_);
    const auto it = outlines_.find(key);
    return it == outlines_.end() ? nullptr : it->second;
  }
  void keep(const std::string& key, std::shared_ptr<const std::string> outline) {
    const std::lock_guard lock(mutex_);
    if (outlines_.size() >= kMostKept) outlines_.clear();
    outlines_.emplace(key, std::move(outline));
  }

 private:
  static constexpr size_t kMostKept = 20000;
  std::mutex mutex_;
  std::unordered_map<std::string, std::shared_ptr<const std::string>> outlines_;
};

OutlineCache& outlines() {
  static OutlineCache* cache = new OutlineCache;
  return *cache;
}

// The glyph's outline at the font matrix of `cr`, from its origin, as the
// `d` of an SVG path.
std::string outlineOf(cairo_t* cr, unsigned long index) {
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_new_path(cr);
  const cairo_glyph_t glyph{index, 0, 0};
  cairo_glyph_path(cr, &glyph, 1);
  cairo_path_t* path = cairo_copy_path(cr);
  cairo_new_path(cr);
  cairo_restore(cr);
  std::string d;
  if (path->status == CAIRO_STATUS_SUCCESS) {
    for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
      const cairo_path_data_t* data = &path->data[i];
      const auto points = [&](char op, int count) {
        d += op;
        for (int p = 1; p <= count; ++p) {
          d += ' ';
          appendNumber(d, data[p].point.x);
          d += ' ';
          appendNumber(d, data[p].point.y);
        }
        d += ' ';
      };
      switch (data->header.type) {
        case CAIRO_PATH_MOVE_TO: points('M', 1); break;
        case CAIRO_PATH_LINE_TO: points('L', 1); break;
        case CAIRO_PATH_CURVE_TO: points('C', 3); break;
        case CAIRO_PATH_CLOSE_PATH: d += "Z "; break;
      }
    }
  }
  cairo_path_destroy(path);
  return d;
}

}  // namespace

struct SvgGlyphs::Run {
  cairo_font_face_t* face = nullptr;  // one reference held
  cairo_matrix_t fontMatrix{};
  cairo_matrix_t ctm{};
  double rgba[4]{};
  std::vector<cairo_glyph_t> glyphs;
  // Each glyph's outline, in the order of `glyphs`, and their keys.
  std::vector<std::string> keys;
  std::vector<std::shared_ptr<const std::string>> outlines;
  Box area;  // in pixels of the surface, with room to spare
};

SvgGlyphs::SvgGlyphs(double width, double height) : width_(width), height_(height) {}

size_t SvgGlyphs::waiting() const { return waiting_.size(); }

SvgGlyphs::~SvgGlyphs() {
  for (Run& run : waiting_) cairo_font_face_destroy(run.face);
}

bool SvgGlyphs::take(cairo_t* cr, const std::string& line, double x, double baseline, const Color& color,
                     std::optional<Box>& reach) {
  reach.reset();
  cairo_font_face_t* face = cairo_get_font_face(cr);
  if (cairo_font_face_get_type(face) != CAIRO_FONT_TYPE_TOY) return false;
  cairo_scaled_font_t* font = cairo_get_scaled_font(cr);
  if (cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS) return false;
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(font, x, baseline, line.data(), static_cast<int>(line.size()), &glyphs, &count,
                                       nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS)
    return false;
  Run run;
  run.glyphs.assign(glyphs, glyphs + count);
  cairo_glyph_free(glyphs);
  if (run.glyphs.empty()) return true;

  // Where the line reaches, in user space and on the surface. (Cairo gives
  // the ink's extents from the first glyph's origin.)
  cairo_text_extents_t ink;
  cairo_glyph_extents(cr, run.glyphs.data(), count, &ink);
  const double pad = 1;
  const double left = run.glyphs[0].x + ink.x_bearing - pad, top = run.glyphs[0].y + ink.y_bearing - pad;
  const double right = left + ink.width + 2 * pad, bottom = top + ink.height + 2 * pad;
  if (!(std::isfinite(left) && std::isfinite(top) && std::isfinite(right) && std::isfinite(bottom))) return false;
  double xs[4] = {left, right, right, left}, ys[4] = {top, top, bottom, bottom};
  for (int i = 0; i < 4; ++i) cairo_user_to_device(cr, &xs[i], &ys[i]);
  run.area = Box{*std::min_element(xs, xs + 4), *std::min_element(ys, ys + 4), *std::max_element(xs, xs + 4),
                 *std::max_element(ys, ys + 4)};
  reach = run.area;
  // It is taken only when the clip holds all of it that is on the surface
  // (the document's own edges cut the rest): drawn over everything at the
  // end, it is drawn unclipped.
  const Box shown{std::max(run.area.left, 0.0), std::max(run.area.top, 0.0), std::min(run.area.right, width_),
                  std::min(run.area.bottom, height_)};
  if (shown.left >= shown.right || shown.top >= shown.bottom) return true;  // nothing of it shows
  // The clip as rectangles on the surface (Cairo keeps it there; asked in
  // user space, it gives none under a turn).
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle_list_t* clip = cairo_copy_clip_rectangle_list(cr);
  cairo_restore(cr);
  bool inside = false;
  if (clip->status == CAIRO_STATUS_SUCCESS)
    for (int i = 0; i < clip->num_rectangles && !inside; ++i) {
      const cairo_rectangle_t& r = clip->rectangles[i];
      inside = Box{r.x, r.y, r.x + r.width, r.y + r.height}.contains(shown);
    }
  cairo_rectangle_list_destroy(clip);
  if (!inside) return false;

  cairo_get_font_matrix(cr, &run.fontMatrix);
  cairo_get_matrix(cr, &run.ctm);
  const char* family = cairo_toy_font_face_get_family(face);
  for (const cairo_glyph_t& glyph : run.glyphs) {
    std::string key = outlineKey(family ? family : "", run.fontMatrix, glyph.index);
    std::shared_ptr<const std::string> outline = outlines().find(key);
    if (!outline) {
      outline = std::make_shared<const std::string>(outlineOf(cr, glyph.index));
      outlines().keep(key, outline);
    }
    run.keys.push_back(std::move(key));
    run.outlines.push_back(std::move(outline));
  }
  run.rgba[0] = component(color.red);
  run.rgba[1] = component(color.green);
  run.rgba[2] = component(color.blue);
  run.rgba[3] = component(color.alpha);
  run.face = cairo_font_face_reference(face);
  waiting_.push_back(std::move(run));
  return true;
}

void SvgGlyphs::beforePaint(cairo_t* cr, const std::optional<Box>& area) {
  // The last waiting line under the area: it and all before it go to Cairo.
  size_t drawn = 0;
  for (size_t i = waiting_.size(); i > 0; --i)
    if (!area || waiting_[i - 1].area.meets(*area)) {
      drawn = i;
      break;
    }
  if (drawn == 0) return;
  for (size_t i = 0; i < drawn; ++i) {
    Run& run = waiting_[i];
    cairo_save(cr);
    cairo_reset_clip(cr);
    cairo_set_matrix(cr, &run.ctm);
    cairo_set_font_face(cr, run.face);
    cairo_set_font_matrix(cr, &run.fontMatrix);
    cairo_set_source_rgba(cr, run.rgba[0], run.rgba[1], run.rgba[2], run.rgba[3]);
    cairo_show_glyphs(cr, run.glyphs.data(), static_cast<int>(run.glyphs.size()));
    cairo_restore(cr);
    cairo_font_face_destroy(run.face);
  }
  waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<ptrdiff_t>(drawn));
}

void SvgGlyphs::writeInto(std::string& document) {
  const size_t end = document.rfind("</svg>");
  if (waiting_.empty() || end == std::string::npos) return;
  // Each outline once, named in the order first used.
  std::map<std::string_view, size_t> names;
  std::string defs = "<defs>\n";
  std::string uses;
  const auto name = [](size_t n) { return "inkcurve-glyph-" + std::to_string(n); };
  for (const Run& run : waiting_) {
    uses += "<g style=\"fill:rgb(";
    for (int c = 0; c < 3; ++c) {
      appendNumber(uses, run.rgba[c] * 100);
      uses += c < 2 ? "%," : "%);fill-opacity:";
    }
    appendNumber(uses, run.rgba[3]);
    uses += ";\"";
    const cairo_matrix_t& m = run.ctm;
    if (m.xx != 1 || m.yx != 0 || m.xy != 0 || m.yy != 1 || m.x0 != 0 || m.y0 != 0) {
      uses += " transform=\"matrix(";
      const double parts[6] = {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0};
      for (int i = 0; i < 6; ++i) {
        if (i > 0) uses += ',';
        appendNumber(uses, parts[i]);
      }
      uses += ")\"";
    }
    uses += ">\n";
    for (size_t i = 0; i < run.glyphs.size(); ++i) {
      auto [it, added] = names.emplace(run.keys[i], names.size());
      if (added) {
        defs += "<symbol overflow=\"visible\" id=\"" + name(it->second) + "\">\n<path style=\"stroke:none;\" d=\"";
        defs += *run.outlines[i];
        defs += "\"/>\n</symbol>\n";
      }
      uses += "  <use xlink:href=\"#" + name(it->second) + "\" x=\"";
      appendNumber(uses, run.glyphs[i].x);
      uses += "\" y=\"";
      appendNumber(uses, run.glyphs[i].y);
      uses += "\"/>\n";
    }
    uses += "</g>\n";
  }
  defs += "</defs>\n";
  document.insert(end, defs + uses);
  for (Run& run : waiting_) cairo_font_face_destroy(run.face);
  waiting_.clear();
}

}  // namespace platform::cairo

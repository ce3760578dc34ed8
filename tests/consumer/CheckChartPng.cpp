// check_chart_png FILE LEFT TOP RIGHT BOTTOM: whether the chart in the PNG
// file shows label text within the rectangle of pixels given (the right and
// bottom edges excluded), as a band of axis labels does: some of its pixels
// (at least 0.5 %) are the dark grey of the labels' glyphs (black at 85 %
// over white is 38 at full cover, lighter on antialiased edges) and at least
// half the band is the white background. A frame left black, or labels drawn
// nowhere near the band, fails.
//
// check_chart_png FILE LEFT TOP RIGHT BOTTOM RRGGBB PERCENT: whether at least
// PERCENT % of the rectangle's pixels are of the colour RRGGBB (hex), each
// channel within 2 of it: a bar, a line or its points drawn there in their
// colour.
#include <cairo.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 6 && argc != 8) {
    std::fprintf(stderr, "usage: check_chart_png FILE LEFT TOP RIGHT BOTTOM [RRGGBB PERCENT]\n");
    return 2;
  }
  cairo_surface_t* image = cairo_image_surface_create_from_png(argv[1]);
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "%s: not a PNG that can be read\n", argv[1]);
    return 1;
  }
  const int left = std::atoi(argv[2]), top = std::atoi(argv[3]), right = std::atoi(argv[4]),
            bottom = std::atoi(argv[5]);
  const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  if (left < 0 || top < 0 || right > width || bottom > height || left >= right || top >= bottom) {
    std::fprintf(stderr, "%s: the band lies outside the %d x %d image\n", argv[1], width, height);
    return 1;
  }
  const bool colour = argc == 8;
  const unsigned wanted = colour ? static_cast<unsigned>(std::strtoul(argv[6], nullptr, 16)) : 0;
  const auto near = [](unsigned a, unsigned b) { return (a > b ? a - b : b - a) <= 2; };
  const unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  long text = 0, white = 0, matching = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const unsigned pixel = reinterpret_cast<const unsigned*>(data + y * stride)[x] & 0xFFFFFFu;
      const unsigned r = pixel >> 16, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
      if (r == g && g == b && r >= 34 && r < 128) ++text;
      if (pixel == 0xFFFFFFu) ++white;
      if (near(r, wanted >> 16) && near(g, (wanted >> 8) & 0xFF) && near(b, wanted & 0xFF)) ++matching;
    }
  }
  cairo_surface_destroy(image);
  const long all = static_cast<long>(right - left) * (bottom - top);
  if (colour) {
    const double percent = std::atof(argv[7]);
    std::printf("%s: %ld of %ld pixels of #%s\n", argv[1], matching, all, argv[6]);
    return static_cast<double>(matching) * 100 >= percent * static_cast<double>(all) ? 0 : 1;
  }
  std::printf("%s: %ld of %ld pixels of label glyphs, %ld white\n", argv[1], text, all, white);
  return text * 200 >= all && white * 2 >= all ? 0 : 1;
}

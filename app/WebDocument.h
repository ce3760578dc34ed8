#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace cli {

// One page of `inkcurve serve`: the linearization window's document, with
// the files the page gave it (kept in memory, never written to disk) and
// its settings, worked as `inkcurve linearize` works the same files.
//
// Every change answers with the page's state as JSON:
//   {
//     "measurementFile": "wedge-21.txt" | null,
//     "quadFile": "pt-pd-8ch.quad" | null,
//     "summary": ["measurements: wedge-21.txt (CGATS)", "readings: 21 steps, resampled to 256", ...],
//                 // the lines `inkcurve linearize` prints, in its words
//     "warnings": [{"about": "measurements" | "quad" | "correction", "text": "..."}],
//                 // every warning and alert, as the command words it
//     "errors": [{"about": "measurements" | "quad" | "reading" | "settings", "text": "..."}],
//                 // why the last change was refused (the document is as before it)
//     "question": null | {"text": "...", "choices": [{"label": "...", "steps": 21 | null,
//                                                    "layout": "together" | "passes" | null}]},
//                 // where the layout finder asks: the choices it offers, to open the file with
//     "readings": [{"step": 1, "L": 94.8, "a": 0.4, "b": 2.1, "density": 0.06,
//                   "samples": 3 | null, "typed": false}],
//     "smoothing": 33, "spline": 33,     // the two controls, 0...100
//     "channels": ["K", "LK", "LLK"],     // the .quad's channels that have ink
//     "notes": "...",
//     "downloads": {"quad": "pt-pd-8ch-corrected.quad" | null, "acv": "wedge-21-correction.acv" | null,
//                   "cube": "wedge-21-correction.cube" | null, "xml": "pt-pd-8ch-xml.zip" | null,
//                   "measurements": "wedge-21-smoothed.txt" | null}
//                 // what can be saved now, by the names it is saved under
//   }
// A document is used by one thread at a time.
class WebDocument {
 public:
  WebDocument();
  ~WebDocument();
  WebDocument(const WebDocument&) = delete;
  WebDocument& operator=(const WebDocument&) = delete;

  // The measurement file, `name` as the page gave it (only its last part is
  // used) and its bytes; `steps` and `layout` as --steps and --layout.
  std::string openMeasurements(const std::string& name, std::string bytes, std::optional<int64_t> steps = {},
                               std::optional<std::string> layout = {});
  std::string openQuad(const std::string& name, std::string bytes);
  // The smoothing controls (0...100) and the notes written into the .quad;
  // what is not given stays.
  std::string setSettings(std::optional<double> smoothing, std::optional<double> spline,
                          std::optional<std::string> notes);
  // The manual curve that shapes the target, through points written as
  // `linearize --target-points` takes them ("0,100 50,45 100,0"); a mistake
  // is refused as a setting and the curve stays.
  std::string setTargetPoints(const std::string& points);
  // A reading typed over (step from 1), and the readings as opened again.
  std::string typeReading(int64_t step, double L, double a, double b);
  std::string revert();
  std::string state() const;

  enum class Graph { measurements, inkCurves };
  // The graph as `--plot` draws it, as an SVG document; the ink curves
  // without the channels named in `hidden`. Empty where there is nothing to
  // draw yet.
  std::string graphSvg(Graph graph, const std::set<std::string>& hidden = {}) const;

  struct Download {
    std::string fileName;
    std::string contentType;
    std::string bytes;
  };
  // "quad", "acv", "cube", "xml" (the per-channel curves and _ref.quad as
  // one .zip, each at its top level, as --xml-dir writes them into a folder
  // named as the .zip is) or "measurements": byte for byte what `inkcurve
  // linearize` writes from the same files and settings; nothing where it
  // cannot be made now.
  std::optional<Download> download(std::string_view what) const;
  // The name `what` is saved under now (as "downloads" names it); nothing
  // where it cannot be made now.
  std::optional<std::string> downloadName(std::string_view what) const;

  // About how much memory the document holds (its files and what was made
  // of them), in bytes.
  size_t bytesHeld() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace cli

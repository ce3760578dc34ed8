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
//     "errors": [{"about": "measurements" | "quad" | "reading" | "settings" | "history" | "page", "text": "..."}],
//                 // why the last change was refused (the document is as before it)
//     "question": null | {"text": "...", "choices": [{"label": "...", "steps": 21 | null,
//                                                    "layout": "together" | "passes" | null}]},
//                 // where the layout finder asks: the choices it offers, to open the file with
//     "readings": [{"step": 1, "L": 94.8, "a": 0.4, "b": 2.1, "density": 0.06,
//                   "samples": 3 | null, "typed": false}],
//     "smoothing": 33, "spline": 33,     // the two controls, 0...100
//     "targetPoints": "0,100 100,0",     // the manual curve's points, as --target-points takes them
//     "undo": true, "redo": false,       // whether there is a change to undo or redo
//     "channels": ["K", "LK", "LLK"],     // the .quad's channels that have ink
//     "notes": "...",
//     "downloads": {"quad": "pt-pd-8ch-corrected.quad" | null, "acv": "wedge-21-correction.acv" | null,
//                   "cube": "wedge-21-correction.cube" | null, "xml": "pt-pd-8ch-xml.zip" | null,
//                   "measurements": "wedge-21-smoothed.txt" | null, "page": "wedge-21-page.json" | null}
//                 // what can be saved now, by the names it is saved under
//   }
// A document is used by one thread at a time.
class WebDocument {
 public:
  // The files that only the undo history holds (files opened before, and
  // replaced) are kept to `historyLimit` bytes together, the oldest let go
  // of first.
  static constexpr size_t kDefaultHistoryLimit = size_t{256} << 20;
  explicit WebDocument(size_t historyLimit = kDefaultHistoryLimit);
  ~WebDocument();
  WebDocument(const WebDocument&) = delete;
  WebDocument& operator=(const WebDocument&) = delete;

  // The measurement file, `name` as the page gave it (only its last part is
  // used) and its bytes; `steps` and `layout` as --steps and --layout.
  std::string openMeasurements(const std::string& name, std::string bytes, std::optional<int64_t> steps = {},
                               std::optional<std::string> layout = {});
  std::string openQuad(const std::string& name, std::string bytes);
  // The smoothing controls (0...100) and the notes written into the .quad;
  // what is not given stays. A change that `continues` the one before of
  // the same settings (a slider that goes on moving) is undone with it.
  std::string setSettings(std::optional<double> smoothing, std::optional<double> spline,
                          std::optional<std::string> notes, bool continues = false);
  // The manual curve that shapes the target, through points written as
  // `linearize --target-points` takes them ("0,100 50,45 100,0"); a mistake
  // is refused as a setting and the curve stays. A change that `continues`
  // the one before (a point still dragged) is undone with it.
  std::string setTargetPoints(const std::string& points, bool continues = false);
  // A reading typed over (step from 1), and the readings as opened again.
  std::string typeReading(int64_t step, double L, double a, double b);
  std::string revert();
  // Undoes the last change that worked (a file opened, a layout chosen, a
  // reading typed over, the readings reverted, a setting), or does it again
  // after it was undone; a new change ends what can be redone.
  std::string undo();
  std::string redo();
  std::string state() const;

  // The page as one JSON file (the download "page"): the files given (their
  // bytes in base64), the layout asked for, the readings typed over, the
  // settings and the target's points. loadPage makes the page again from
  // such a file as one change; a file that is damaged or of another kind,
  // or whose files cannot be opened, is refused with the reason ("errors",
  // about "page") and changes nothing.
  // The saved page may hold `edits`, the edits of the .quad's channels made
  // on the editor screen (see savedEditsError); loadPage checks them against
  // the .quad, and the last page it made holds them in editsLoaded().
  std::string savedPage(std::string_view edits = {}) const;
  std::string loadPage(std::string_view text);
  std::optional<std::string> editsLoaded() const;

  enum class Graph { measurements, inkCurves };
  // The graph as `--plot` draws it, as an SVG document; the ink curves
  // without the channels named in `hidden`. Empty where there is nothing to
  // draw yet.
  std::string graphSvg(Graph graph, const std::set<std::string>& hidden = {}) const;

  // A finger on a graph, as the graph's chart view takes it (PlotFigure):
  // a tap highlights the value there (or clears), a zoom by `factor` about
  // the point keeps the value under it, a pan moves what lay at (x, y) to
  // (toX, toY), a reset shows the whole graph; `look` changes nothing. Points
  // are in the graph's pixels as graphSvg draws it (its top-left corner 0,
  // 0); `hidden` as graphSvg's, so that the graph touched is the one shown.
  // Each graph keeps its zoom and highlight until a new file is opened for
  // it: a new measurement file resets both graphs, a new .quad the ink
  // graph; a change of settings or readings keeps them (the highlight
  // follows its curve to the value nearest its x).
  enum class Gesture { look, tap, zoom, pan, reset };
  struct GraphTouch {
    Gesture gesture = Gesture::look;
    double x = 0, y = 0;
    double toX = 0, toY = 0;
    double factor = 1;
  };
  // Answers the graph's view as JSON:
  //   {"graph": "measurements" | "ink", "zoomed": false,
  //    "highlight": null | {"curve": "steps" | "K" | "K as read" | "correction", "x": 45, "y": 51.2,
  //                         "step": 10 | null, "text": "step 10: L* 51.20"}}
  // or nothing, with `error` saying why the touch was refused (no graph yet,
  // a point off the graph, a zoom factor that is not above 0).
  std::optional<std::string> touchGraph(Graph graph, const GraphTouch& touch, const std::set<std::string>& hidden,
                                        std::string& error);

  struct Download {
    std::string fileName;
    std::string contentType;
    std::string bytes;
  };
  // "quad", "acv", "cube", "xml" (the per-channel curves and _ref.quad as
  // one .zip, each at its top level, as --xml-dir writes them into a folder
  // named as the .zip is) or "measurements": byte for byte what `inkcurve
  // linearize` writes from the same files and settings; "page": the page
  // saved (savedPage); nothing where it cannot be made now.
  std::optional<Download> download(std::string_view what) const;
  // The name `what` is saved under now (as "downloads" names it); nothing
  // where it cannot be made now.
  std::optional<std::string> downloadName(std::string_view what) const;

  // About how much memory the document holds (its files and what was made
  // of them), in bytes.
  size_t bytesHeld() const;

  // The .quad as the page gave it and the document read it, for the curve
  // editor; nothing while there is none.
  struct QuadAsRead {
    std::string name;
    std::shared_ptr<const std::string> bytes;
  };
  std::optional<QuadAsRead> quadAsRead() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace cli

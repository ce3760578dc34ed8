#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "WebDocument.h"

namespace cli {

// The ink-curve editor screen of one page of `inkcurve serve`: the channels
// of a .quad reshaped as `inkcurve edit` reshapes them (a curve through
// points, then the gamma, then the ink-limit boost), each channel by its
// own edits, with an undo history of its own. It edits one of two files
// the page holds: the .quad opened on the linearization screen, as read
// (not the corrected one, which moves with every setting), or the starter
// curve made on the starter screen.
//
// Its state as JSON:
//   {
//     "sources": ["quad", "starter"],  // the files there are to edit
//     "source": "quad" | "starter" | null,
//     "file": "pt-pd-8ch.quad" | null,   // the file edited, by its name
//     "message": "Open a .quad ..." | null,  // why there is nothing to edit
//     "channels": ["K", "LK", ..., "C"],  // the file's channels, those with ink first
//     "channel": "K" | null,            // the one shown and edited
//     "points": "0,0 50,40 100,100" | "",  // its --points ("": none)
//     "gamma": 1, "boost": 0,           // its --gamma and --boost (1 and 0: none)
//     "edited": ["K"],                  // the channels with edits
//     "shape": [0, 0.3, ...],           // its 256 levels in percent through the points alone
//                                       // (as read without points): where the points lie
//     "summary": ["edited: K of pt-pd-8ch.quad: --gamma 1.2", "K at the last input: ..."],
//     "warnings": ["3 ink levels of K lay outside 0...65535 after editing and were written clamped"],
//     "undo": false, "redo": false,
//     "download": "pt-pd-8ch-edited.quad" | null
//   }
// Used by one thread at a time.
// The edits of a .quad's channels as a saved page holds them, channel by
// channel: "K|0,0 50,40 100,100|1.2|5; LK||0.8|0" (the channel, its
// --points or "" for none, its --gamma and its --boost). Why `text` is not
// such, or names a channel that is not among `channels` (the file's
// markers); nothing where it is.
std::optional<std::string> savedEditsError(std::string_view text, const std::vector<std::string>& channels);

class WebEditor {
 public:
  WebEditor();
  ~WebEditor();
  WebEditor(const WebEditor&) = delete;
  WebEditor& operator=(const WebEditor&) = delete;

  // A file the screen may edit: its name and bytes.
  struct Source {
    std::string name;
    std::shared_ptr<const std::string> bytes;
  };
  // The files there are now, told before each use. A file that is not the
  // one edited before loses its edits, and the history goes: its steps
  // were edits of another file.
  void offer(std::optional<Source> quad, std::optional<Source> starter);

  // What a change sets; what is not given stays. The source and the channel
  // choose what is edited (not a change to undo by itself); the points (""
  // for none), the gamma and the boost are the chosen channel's edits. A
  // change that `continues` the one before of the same edits of the same
  // channel (a point still dragged, a slider still moving) is undone with it.
  struct Change {
    std::optional<std::string> source = {}, channel = {}, points = {};
    std::optional<double> gamma = {}, boost = {};
    bool continues = false;
  };
  // The state after the change; nothing, with `error` in the command's
  // words, where something in it is not what the command takes (nothing is
  // changed then).
  std::optional<std::string> change(const Change& change, std::string& error);
  std::string undo();
  std::string redo();
  std::string state();

  // The ink curves as `inkcurve edit --plot` draws them: every channel as
  // it would be written, the chosen one as read too, dashed; empty when
  // there is nothing to draw.
  std::string graphSvg();
  // The edited file: byte for byte what `inkcurve edit` writes when it is
  // run on the file once for each edited channel with its edits; nothing
  // where there are no edits or it cannot be made.
  std::optional<WebDocument::Download> download();

  // The edits of the page's .quad, as a saved page holds them (see
  // savedEditsError); "" where there are none.
  std::string savedEdits() const;
  // Puts back edits saved so, on the .quad offered, as one change that undo
  // takes back; false, with `error`, where the text is not such or names a
  // channel the file lacks (nothing changes then).
  bool restoreEdits(std::string_view text, std::string& error);

  // About how much memory it holds, in bytes.
  size_t bytesHeld() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace cli

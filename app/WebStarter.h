#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "WebDocument.h"

namespace cli {

// The starter-curve screen of one page of `inkcurve serve`: the printer
// model, the process and the three boosts, and the curve `inkcurve starter`
// builds from them (kept in memory beside the page's WebDocument).
//
// Its state as JSON:
//   {
//     "printers": ["x800-x880", ...], "processes": ["Standard Starter Curve", ...],
//                 // the titles of the tables, as `inkcurve starter --list` lists them
//     "printer": "x800-x880", "process": "Standard Starter Curve",
//     "inkLimit": 0, "yellow": 0, "totalInk": 0,
//                 // --ink-limit (percent), --yellow (whole percent), --total-ink (a fraction)
//     "summary": "starter curve: x800-x880, Standard Starter Curve; channels K, C, ...",
//     "warnings": ["--yellow -99 leaves no ink in Y: every level is written 0", ...],
//                 // what `inkcurve starter` warns of, in its words
//     "download": "x800-x880-standard-starter-curve.quad" | null
//   }
// A boost of 0 is a boost not given: the curve, the summary and the file are
// those of `inkcurve starter` run without that option. Used by one thread
// at a time; the curve is built when first asked for.
class WebStarter {
 public:
  WebStarter();
  ~WebStarter();
  WebStarter(const WebStarter&) = delete;
  WebStarter& operator=(const WebStarter&) = delete;

  // What a change sets; what is not given stays.
  struct Change {
    std::optional<std::string> printer, process;
    std::optional<double> inkLimit, yellow, totalInk;
  };
  // The state after the change; nothing, with `error` in the command's
  // words, where a title is not in the tables or a boost is not one the
  // command takes (nothing is changed then).
  std::optional<std::string> change(const Change& change, std::string& error);
  std::string state();

  // The ink curves as `inkcurve starter --plot` draws them, as an SVG
  // document; empty when it could not be drawn.
  std::string graphSvg();
  // The .quad, byte for byte what `inkcurve starter` writes from the same
  // choices; nothing where it cannot be made.
  std::optional<WebDocument::Download> download();

  // Whether the curve was made (the screen was shown): the curve editor
  // offers it then.
  bool made() const;

  // About how much memory it holds, in bytes.
  size_t bytesHeld() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace cli

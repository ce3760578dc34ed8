#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/Host.h"
#include "starter_curves/StarterCurveTables.h"

namespace starter_curves {

// The starter curves of the setup screen: the three ink sets, the built-in
// tables, the table chosen for the current printer family and process, its
// boosted form and the notes that go into an exported file. Made once by the
// setup model and kept for its life; the model chooses and boosts, the
// screen sets the titles and the notes.
class StarterCurve final {
 public:
  StarterCurve();

  // What an export did: whether the save panel was offered, and how many
  // levels had no 16-bit form and were written clamped.
  struct ExportOutcome {
    bool offered = false;
    int64_t clampedLevels = 0;
  };

  // The .quad text of `currentStarterCurveWithBoostSetting` under the current
  // header and marker lines, with `processNotes` as comment lines. Nothing
  // when a marker line has no channel of 256 levels. Levels of 65536 or more
  // are written "65535", levels of -1 or less and levels that are not a number
  // "0"; all are counted in `clampedLevels`.
  std::optional<std::string> starterCurveQuadText(int64_t& clampedLevels) const;

  // Offers the .quad text in a save panel and writes it to the chosen file.
  // The text is fixed when the panel opens. A curve that does not match its
  // marker lines is logged and offers no panel; clamped levels are logged, and
  // so are notes that would keep the file from being read back.
  ExportOutcome exportStarterCurve(platform::Host& host) const;

  std::optional<std::string> processNotes = std::string();
  InkCurves currentStarterCurve;
  std::vector<std::string> currentHeaderInfo;
  std::vector<std::string> currentInkList;
  int64_t numInks = 8;

  const std::vector<std::string> headerInfoFor8Ink{"## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK", "# Halvorin for macOS v2"};
  const std::vector<std::string> headerInfoFor10Ink{"## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,OR,GR",
                                                    "# Halvorin for macOS v2"};
  const std::vector<std::string> headerInfoForPro10Ink{"## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,V,MK",
                                                       "# Halvorin for macOS v2"};
  const std::vector<std::string> inkListFor8Ink{"# K Curve",  "# C Curve",  "# M Curve",  "# Y Curve",
                                                "# LC Curve", "# LM Curve", "# LK Curve", "# LLK Curve"};
  const std::vector<std::string> inkListFor10Ink{"# K Curve",  "# C Curve",  "# M Curve",  "# Y Curve",
                                                 "# LC Curve", "# LM Curve", "# LK Curve", "# LLK Curve",
                                                 "# OR Curve", "# GR Curve"};
  const std::vector<std::string> inkListForPro10Ink{"# K Curve",  "# C Curve",  "# M Curve",  "# Y Curve",
                                                    "# LC Curve", "# LM Curve", "# LK Curve", "# LLK Curve",
                                                    "# V Curve",  "# MK Curve"};

  std::string printerModelSetting;
  std::string processSetting;
  // A starting amount for the ink-limit control; nothing here reads it.
  int64_t boostInputForInkLimitControl = 50;
  // The current table after the three boosts: what the graph shows and the
  // export writes. One empty channel until the setup model first runs.
  InkCurves currentStarterCurveWithBoostSetting{std::vector<double>{}};

  // The built-in tables (see StarterCurveTables.h).
  const InkCurves k8Standard;
  const InkCurves k10Standard;
  const InkCurves k8Carbon;
  const InkCurves k10SCarbon;
  const InkCurves k8TradCyanotype;
  const InkCurves k8LodimaG2;
  const InkCurves k8IlfordMGClassic;
  const InkCurves k10LodimaG2;
  const InkCurves k10TradCyanotype;
  const InkCurves k10IlfordMGClassic;
  const InkCurves k8PzPro;
  const InkCurves p700Standard;
  const InkCurves p700Cyanotype;
  const InkCurves P700LodimaG2;
  const InkCurves p700IlfordMG;
  // `k8PzPro` with OR and GR all 0, for the OR/GR printer family.
  const InkCurves k10PzPro;
};

}  // namespace starter_curves

#pragma once

#include <vector>

namespace starter_curves {

// A set of ink curves: one channel per marker line of an ink set, each channel
// 256 ink levels (0..65535) indexed by input step 0..255.
using InkCurves = std::vector<std::vector<double>>;

// The built-in starter curves, one per printer family and process, in the
// order the setup screen's catalogue lists them.
struct StarterCurveTables {
  InkCurves k8Standard;
  InkCurves k10Standard;
  InkCurves k8Carbon;
  InkCurves k10SCarbon;
  InkCurves k8TradCyanotype;
  InkCurves k8LodimaG2;
  InkCurves k8IlfordMGClassic;
  InkCurves k10LodimaG2;
  InkCurves k10TradCyanotype;
  InkCurves k10IlfordMGClassic;
  InkCurves k8PzPro;
  InkCurves p700Standard;
  InkCurves p700Cyanotype;
  InkCurves P700LodimaG2;
  InkCurves p700IlfordMG;
  // `k8PzPro` for the OR/GR printer family: its eight channels, then OR and GR
  // all 0, so the family's ten marker lines each have a channel.
  InkCurves k10PzPro;
};

// The tables, built once on first use and never changed.
const StarterCurveTables& starterCurveTables();

}  // namespace starter_curves

#include "starter_curves/StarterCurve.h"

#include "linearization/QuadDataFile.h"
#include "linearization/SaveText.h"
#include "platform/text/Text.h"

namespace starter_curves {

StarterCurve::StarterCurve()
    : k8Standard(starterCurveTables().k8Standard),
      k10Standard(starterCurveTables().k10Standard),
      k8Carbon(starterCurveTables().k8Carbon),
      k10SCarbon(starterCurveTables().k10SCarbon),
      k8TradCyanotype(starterCurveTables().k8TradCyanotype),
      k8LodimaG2(starterCurveTables().k8LodimaG2),
      k8IlfordMGClassic(starterCurveTables().k8IlfordMGClassic),
      k10LodimaG2(starterCurveTables().k10LodimaG2),
      k10TradCyanotype(starterCurveTables().k10TradCyanotype),
      k10IlfordMGClassic(starterCurveTables().k10IlfordMGClassic),
      k8PzPro(starterCurveTables().k8PzPro),
      p700Standard(starterCurveTables().p700Standard),
      p700Cyanotype(starterCurveTables().p700Cyanotype),
      P700LodimaG2(starterCurveTables().P700LodimaG2),
      p700IlfordMG(starterCurveTables().p700IlfordMG),
      k10PzPro(starterCurveTables().k10PzPro) {
  currentStarterCurve = k8Standard;
  currentHeaderInfo = headerInfoFor8Ink;
  currentInkList = inkListFor8Ink;
}

namespace {

// Why the boosted curve cannot be written under its marker lines, if it
// cannot: a marker line without a channel, or a channel short of 256 levels.
std::optional<std::string> mismatch(const InkCurves& curves, const std::vector<std::string>& inkList) {
  if (curves.size() < inkList.size()) {
    return std::to_string(curves.size()) + " channels for " + std::to_string(inkList.size()) + " marker lines";
  }
  for (size_t i = 0; i < inkList.size(); ++i) {
    if (curves[i].size() < 256) {
      return "channel " + std::to_string(i) + " (" + inkList[i] + ") has " + std::to_string(curves[i].size()) +
             " levels, not 256";
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> StarterCurve::starterCurveQuadText(int64_t& clampedLevels) const {
  const auto& curves = currentStarterCurveWithBoostSetting;
  if (mismatch(curves, currentInkList)) return std::nullopt;

  std::vector<std::string> lines = currentHeaderInfo;
  const std::string notes = processNotes ? *processNotes : std::string("VelmoraArts Halvorin-Karovel v1");
  lines.push_back("# " + platform::text::replaceAll(notes, "\n", "\n# "));
  for (size_t i = 0; i < currentInkList.size(); ++i) {
    lines.push_back(currentInkList[i]);
    for (size_t step = 0; step < 256; ++step) {
      lines.push_back(linearization::quadLevelText(curves[i][step], clampedLevels));
    }
  }
  return platform::text::join(lines, "\n");
}

StarterCurve::ExportOutcome StarterCurve::exportStarterCurve(platform::Host& host) const {
  ExportOutcome outcome;
  if (auto reason = mismatch(currentStarterCurveWithBoostSetting, currentInkList)) {
    host.log("Starter curve not exported: " + *reason);
    return outcome;
  }
  if (processNotes) {
    // The second header line is a comment line ahead of the notes.
    const int commentLinesBefore = static_cast<int>(currentHeaderInfo.size()) - 1;
    if (auto reason = linearization::unreadableNotesReason(*processNotes, commentLinesBefore))
      host.log("The starter curve will not read back: " + *reason);
  }
  auto text = starterCurveQuadText(outcome.clampedLevels);
  if (outcome.clampedLevels > 0) {
    host.log("Clamped " + std::to_string(outcome.clampedLevels) +
             " ink levels outside 0...65535 while writing the starter curve");
  }
  outcome.offered = true;
  linearization::saveTextThroughPanel(host, "quad", std::move(*text));
  return outcome;
}

}  // namespace starter_curves

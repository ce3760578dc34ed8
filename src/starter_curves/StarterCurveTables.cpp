#include "starter_curves/StarterCurveTables.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/Fatal.h"
#include "starter_curves/InkCurveGenerator.h"

namespace starter_curves {
namespace {

using Channel = std::vector<double>;

// What each curve is drawn from: the first step that gets ink and its level,
// the peak's step and level, and the levels at steps 128 and 255. Every step
// before the first one is 0. Further points pin a curve more closely where
// one is known step by step.
struct ChannelShape {
  int64_t firstStep;
  double firstLevel;
  int64_t peakStep;
  double peakLevel;
  double levelAt128;
  double levelAt255;
  std::vector<CurveAnchor> more = {};
};

Channel curveOf(const ChannelShape& shape) {
  std::vector<CurveAnchor> anchors{{0, 0.0},
                                   {shape.firstStep, shape.firstLevel},
                                   {shape.peakStep, shape.peakLevel},
                                   {128, shape.levelAt128},
                                   {255, shape.levelAt255}};
  if (shape.firstStep > 1) anchors.push_back({shape.firstStep - 1, 0.0});
  anchors.insert(anchors.end(), shape.more.begin(), shape.more.end());
  std::stable_sort(anchors.begin(), anchors.end(),
                   [](const CurveAnchor& a, const CurveAnchor& b) { return a.step < b.step; });
  std::vector<CurveAnchor> unique;
  for (const auto& anchor : anchors) {
    if (!unique.empty() && unique.back().step == anchor.step) {
      if (unique.back().level != anchor.level) platform::fatalError("starter curve anchors disagree");
      continue;
    }
    unique.push_back(anchor);
  }
  return inkCurveThrough(unique);
}

Channel zeros() { return Channel(256, 0.0); }

// The steps at which the standard curve is pinned level by level.
std::vector<CurveAnchor> standardRow(const std::vector<double>& levels) {
  static const int64_t steps[] = {0, 1, 2, 16, 32, 64, 96, 128, 160, 192, 224, 254, 255};
  std::vector<CurveAnchor> row;
  for (size_t i = 0; i < levels.size(); ++i) row.push_back({steps[i], levels[i]});
  return row;
}

InkCurves withTwoEmptyChannels(InkCurves table) {
  table.push_back(zeros());
  table.push_back(zeros());
  return table;
}

StarterCurveTables buildTables() {
  StarterCurveTables t;

  // Standard: K comes in late for the deepest shadows; C, M and Y tone the
  // black; LK and LLK carry the midtones and highlights.
  const Channel stdK = curveOf({114, 1, 255, 32800, 6, 32800,
                                standardRow({0, 0, 0, 0, 0, 0, 0, 6, 83, 544, 2455, 30581, 32800})});
  const Channel stdC = curveOf({1, 157, 255, 3994, 2605, 3994,
                                standardRow({0, 157, 320, 1498, 1881, 2181, 2394, 2605, 2917, 3210, 3533, 3964, 3994})});
  const Channel stdM = curveOf({1, 196, 255, 4992, 3256, 4992,
                                standardRow({0, 196, 400, 1873, 2351, 2726, 2993, 3256, 3646, 4013, 4416, 4955, 4992})});
  const Channel stdY = curveOf({1, 157, 255, 4903, 2646, 4903,
                                standardRow({0, 157, 320, 1498, 1881, 2185, 2409, 2646, 3011, 3405, 3915, 4787, 4903})});
  const Channel stdLK = curveOf(
      {1, 183, 226, 31798, 18670, 16098,
       standardRow({0, 183, 366, 2923, 5633, 10381, 14514, 18670, 23078, 27715, 31753, 19641, 16098})});
  const Channel stdLLK = curveOf(
      {1, 1232, 64, 26919, 21204, 11,
       standardRow({0, 1232, 2490, 14603, 21563, 26919, 24969, 21204, 16321, 10774, 5222, 174, 11})});
  t.k8Standard = {stdK, stdC, stdM, stdY, stdC, stdM, stdLK, stdLLK};
  t.k10Standard = withTwoEmptyChannels(
      {stdK, stdC, stdM, stdY, stdC, stdM, curveOf({1, 267, 225, 29727, 17967, 10735}), stdLLK});

  const Channel carbonC = curveOf({1, 147, 183, 4096, 3850, 4002});
  const Channel carbonM = curveOf({1, 184, 183, 5120, 4812, 5002});
  t.k8Carbon = {curveOf({45, 2, 255, 32861, 2214, 32861}),
                carbonC,
                carbonM,
                curveOf({1, 101, 255, 12579, 6550, 12579}),
                carbonC,
                carbonM,
                curveOf({1, 245, 134, 32707, 32664, 10755}),
                curveOf({1, 1186, 64, 26664, 20368, 8})};
  t.k10SCarbon = withTwoEmptyChannels(t.k8Carbon);

  const Channel cyanotypeC = curveOf({1, 17, 255, 3568, 2601, 3568});
  const Channel cyanotypeM = curveOf({1, 21, 255, 4460, 3251, 4460});
  t.k8TradCyanotype = {curveOf({130, 1, 255, 24357, 0, 24357}),
                       cyanotypeC,
                       cyanotypeM,
                       curveOf({1, 17, 255, 4305, 2626, 4305}),
                       cyanotypeC,
                       cyanotypeM,
                       curveOf({1, 134, 232, 30482, 17231, 21523}),
                       curveOf({1, 838, 84, 28643, 24526, 682})};

  t.k8LodimaG2 = {curveOf({45, 1, 255, 29967, 1442, 29967}), curveOf({118, 1, 255, 4107, 7, 4107}),
                  curveOf({178, 1, 255, 3075, 0, 3075}),     curveOf({1, 16, 255, 5185, 979, 5185}),
                  curveOf({1, 8, 255, 5214, 1411, 5214}),    curveOf({1, 13, 230, 7938, 2737, 6619}),
                  curveOf({1, 294, 200, 38610, 30750, 29531}), curveOf({1, 2826, 30, 46643, 25172, 53})};

  t.k8IlfordMGClassic = {curveOf({116, 8, 255, 28750, 399, 28750}),
                         zeros(),
                         curveOf({81, 10, 255, 9049, 1814, 9049}),
                         zeros(),
                         zeros(),
                         curveOf({1, 112, 114, 15304, 14907, 7529}),
                         curveOf({1, 524, 165, 42909, 41488, 28362}),
                         curveOf({1, 4843, 19, 46013, 4754, 0})};

  t.k10LodimaG2 = withTwoEmptyChannels(t.k8LodimaG2);
  t.k10TradCyanotype = withTwoEmptyChannels(t.k8TradCyanotype);
  t.k10IlfordMGClassic = withTwoEmptyChannels(t.k8IlfordMGClassic);

  t.k8PzPro = {curveOf({184, 10, 255, 48099, 0, 48099}), curveOf({78, 11, 215, 32893, 12257, 18450}),
               curveOf({124, 6, 221, 9842, 263, 4766}),  curveOf({1, 277, 12, 15715, 1987, 0}),
               curveOf({6, 308, 82, 32543, 23946, 0}),   curveOf({10, 17, 125, 12620, 12501, 0}),
               curveOf({1, 749, 7, 32214, 0, 0}),        zeros()};

  const Channel p700C = curveOf({1, 472, 255, 6367, 3479, 6367});
  const Channel p700M = curveOf({1, 590, 255, 7958, 4349, 7958});
  t.p700Standard = withTwoEmptyChannels({curveOf({1, 20, 255, 34226, 8948, 34226}), p700C, p700M,
                                         curveOf({1, 7, 255, 15617, 6693, 15617}), zeros(), zeros(),
                                         curveOf({1, 496, 96, 44713, 43079, 17718}),
                                         curveOf({1, 3718, 17, 42482, 14324, 5677})});
  t.p700Cyanotype = withTwoEmptyChannels({curveOf({22, 2, 255, 30000, 1476, 30000}), p700C, p700M,
                                          curveOf({2, 95, 255, 11159, 5008, 11159}), zeros(), zeros(),
                                          curveOf({1, 578, 152, 29365, 28637, 16378}),
                                          curveOf({1, 2611, 19, 30176, 7739, 1953})});

  InkCurves lodimaWithoutLightColours = t.k8LodimaG2;
  lodimaWithoutLightColours[4] = zeros();
  lodimaWithoutLightColours[5] = zeros();
  t.P700LodimaG2 = withTwoEmptyChannels(std::move(lodimaWithoutLightColours));
  t.p700IlfordMG = withTwoEmptyChannels(t.k8IlfordMGClassic);

  t.k10PzPro = withTwoEmptyChannels(t.k8PzPro);
  return t;
}

}  // namespace

const StarterCurveTables& starterCurveTables() {
  static const StarterCurveTables tables = buildTables();
  return tables;
}

}  // namespace starter_curves

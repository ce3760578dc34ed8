#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "StarterCurveCatalogue.h"
#include "starter_curves/StarterCurve.h"

namespace starter_curves {
namespace {

bool allZero(const std::vector<double>& ch) {
  for (double v : ch) {
    if (v != 0.0) return false;
  }
  return true;
}

TEST(StarterCurveTables, EveryTableIsWellFormed) {
  size_t levels = 0;
  size_t zeroChannels = 0;
  for (const auto& e : kCatalogue) {
    SCOPED_TRACE(e.name);
    const auto& t = get(e.table);
    ASSERT_EQ(t.size(), e.channels);
    for (const auto& ch : t) {
      ASSERT_EQ(ch.size(), 256u);
      levels += ch.size();
      zeroChannels += allZero(ch) ? 1 : 0;
      EXPECT_EQ(ch[0], 0.0);
      for (double v : ch) {
        EXPECT_EQ(v, std::floor(v));
        EXPECT_GE(v, 0.0);
        EXPECT_LE(v, 65535.0);
      }
    }
    // K is largest at step 255.
    for (int s = 0; s < 255; ++s) EXPECT_LT(t[0][s], t[0][255]) << "step " << s;
    // A plausible ink curve rises to its peak and falls after it, never
    // turning back.
    for (size_t c = 0; c < t.size(); ++c) {
      const auto& ch = t[c];
      bool falling = false;
      for (int s = 0; s < 255; ++s) {
        if (ch[s + 1] < ch[s]) falling = true;
        if (falling) {
          EXPECT_LE(ch[s + 1], ch[s]) << "channel " << c << " rises again at step " << s + 1;
        }
      }
    }
  }
  EXPECT_EQ(levels, 35328u);
  EXPECT_EQ(zeroChannels, 34u);
}

TEST(StarterCurveTables, TablesRelateAsTheCatalogueSays) {
  const auto& t = starterCurveTables();
  const auto zero = std::vector<double>(256, 0.0);
  enum { K, C, M, Y, LC, LM, LK, LLK, X1, X2 };
  // LC equals C and LM equals M.
  for (Table tab : {&StarterCurveTables::k8Standard, &StarterCurveTables::k8Carbon,
                    &StarterCurveTables::k8TradCyanotype}) {
    EXPECT_EQ(get(tab)[LC], get(tab)[C]);
    EXPECT_EQ(get(tab)[LM], get(tab)[M]);
  }
  // 10-channel forms: the 8-channel table, then two empty channels.
  const std::pair<Table, Table> padded[] = {
      {&StarterCurveTables::k10SCarbon, &StarterCurveTables::k8Carbon},
      {&StarterCurveTables::k10LodimaG2, &StarterCurveTables::k8LodimaG2},
      {&StarterCurveTables::k10TradCyanotype, &StarterCurveTables::k8TradCyanotype},
      {&StarterCurveTables::k10IlfordMGClassic, &StarterCurveTables::k8IlfordMGClassic},
      {&StarterCurveTables::p700IlfordMG, &StarterCurveTables::k8IlfordMGClassic},
      {&StarterCurveTables::k10PzPro, &StarterCurveTables::k8PzPro},
  };
  for (const auto& [ten, eight] : padded) {
    for (int c = K; c <= LLK; ++c) EXPECT_EQ(get(ten)[c], get(eight)[c]) << c;
    EXPECT_EQ(get(ten)[X1], zero);
    EXPECT_EQ(get(ten)[X2], zero);
  }
  for (int c = K; c <= LLK; ++c) {
    if (c != LK) {
      EXPECT_EQ(t.k10Standard[c], t.k8Standard[c]) << c;
    }
    EXPECT_EQ(t.P700LodimaG2[c], (c == LC || c == LM) ? zero : t.k8LodimaG2[c]) << c;
  }
  EXPECT_NE(t.k10Standard[LK], t.k8Standard[LK]);
  for (Table tab : {&StarterCurveTables::k10Standard, &StarterCurveTables::p700Standard,
                    &StarterCurveTables::p700Cyanotype, &StarterCurveTables::P700LodimaG2}) {
    EXPECT_EQ(get(tab)[X1], zero);
    EXPECT_EQ(get(tab)[X2], zero);
  }
  for (Table tab : {&StarterCurveTables::p700Standard, &StarterCurveTables::p700Cyanotype}) {
    EXPECT_EQ(get(tab)[LC], zero);
    EXPECT_EQ(get(tab)[LM], zero);
  }
  EXPECT_EQ(t.p700Cyanotype[C], t.p700Standard[C]);
  EXPECT_EQ(t.p700Cyanotype[M], t.p700Standard[M]);
  for (int c : {C, Y, LC}) EXPECT_EQ(t.k8IlfordMGClassic[c], zero);
  EXPECT_EQ(t.k8PzPro[LLK], zero);
}

// First step above 0 with its level, peak level with its step (the only step
// at that level), and the levels at steps 128 and 255.
struct Shape {
  Table table;
  int channel;
  int firstStep;
  double firstLevel;
  double peak;
  int peakStep;
  double at128;
  double at255;
};

TEST(StarterCurveTables, ChannelsHaveTheirStatedShape) {
  using S = StarterCurveTables;
  const Shape shapes[] = {
      {&S::k8Standard, 0, 114, 1, 32800, 255, 6, 32800},
      {&S::k8Standard, 1, 1, 157, 3994, 255, 2605, 3994},
      {&S::k8Standard, 2, 1, 196, 4992, 255, 3256, 4992},
      {&S::k8Standard, 3, 1, 157, 4903, 255, 2646, 4903},
      {&S::k8Standard, 6, 1, 183, 31798, 226, 18670, 16098},
      {&S::k8Standard, 7, 1, 1232, 26919, 64, 21204, 11},
      {&S::k10Standard, 6, 1, 267, 29727, 225, 17967, 10735},
      {&S::k8Carbon, 0, 45, 2, 32861, 255, 2214, 32861},
      {&S::k8Carbon, 1, 1, 147, 4096, 183, 3850, 4002},
      {&S::k8Carbon, 2, 1, 184, 5120, 183, 4812, 5002},
      {&S::k8Carbon, 3, 1, 101, 12579, 255, 6550, 12579},
      {&S::k8Carbon, 6, 1, 245, 32707, 134, 32664, 10755},
      {&S::k8Carbon, 7, 1, 1186, 26664, 64, 20368, 8},
      {&S::k8TradCyanotype, 0, 130, 1, 24357, 255, 0, 24357},
      {&S::k8TradCyanotype, 1, 1, 17, 3568, 255, 2601, 3568},
      {&S::k8TradCyanotype, 2, 1, 21, 4460, 255, 3251, 4460},
      {&S::k8TradCyanotype, 3, 1, 17, 4305, 255, 2626, 4305},
      {&S::k8TradCyanotype, 6, 1, 134, 30482, 232, 17231, 21523},
      {&S::k8TradCyanotype, 7, 1, 838, 28643, 84, 24526, 682},
      {&S::k8LodimaG2, 0, 45, 1, 29967, 255, 1442, 29967},
      {&S::k8LodimaG2, 1, 118, 1, 4107, 255, 7, 4107},
      {&S::k8LodimaG2, 2, 178, 1, 3075, 255, 0, 3075},
      {&S::k8LodimaG2, 3, 1, 16, 5185, 255, 979, 5185},
      {&S::k8LodimaG2, 4, 1, 8, 5214, 255, 1411, 5214},
      {&S::k8LodimaG2, 5, 1, 13, 7938, 230, 2737, 6619},
      {&S::k8LodimaG2, 6, 1, 294, 38610, 200, 30750, 29531},
      {&S::k8LodimaG2, 7, 1, 2826, 46643, 30, 25172, 53},
      {&S::k8IlfordMGClassic, 0, 116, 8, 28750, 255, 399, 28750},
      {&S::k8IlfordMGClassic, 2, 81, 10, 9049, 255, 1814, 9049},
      {&S::k8IlfordMGClassic, 5, 1, 112, 15304, 114, 14907, 7529},
      {&S::k8IlfordMGClassic, 6, 1, 524, 42909, 165, 41488, 28362},
      {&S::k8IlfordMGClassic, 7, 1, 4843, 46013, 19, 4754, 0},
      {&S::k8PzPro, 0, 184, 10, 48099, 255, 0, 48099},
      {&S::k8PzPro, 1, 78, 11, 32893, 215, 12257, 18450},
      {&S::k8PzPro, 2, 124, 6, 9842, 221, 263, 4766},
      {&S::k8PzPro, 3, 1, 277, 15715, 12, 1987, 0},
      {&S::k8PzPro, 4, 6, 308, 32543, 82, 23946, 0},
      {&S::k8PzPro, 5, 10, 17, 12620, 125, 12501, 0},
      {&S::k8PzPro, 6, 1, 749, 32214, 7, 0, 0},
      {&S::p700Standard, 0, 1, 20, 34226, 255, 8948, 34226},
      {&S::p700Standard, 1, 1, 472, 6367, 255, 3479, 6367},
      {&S::p700Standard, 2, 1, 590, 7958, 255, 4349, 7958},
      {&S::p700Standard, 3, 1, 7, 15617, 255, 6693, 15617},
      {&S::p700Standard, 6, 1, 496, 44713, 96, 43079, 17718},
      {&S::p700Standard, 7, 1, 3718, 42482, 17, 14324, 5677},
      {&S::p700Cyanotype, 0, 22, 2, 30000, 255, 1476, 30000},
      {&S::p700Cyanotype, 3, 2, 95, 11159, 255, 5008, 11159},
      {&S::p700Cyanotype, 6, 1, 578, 29365, 152, 28637, 16378},
      {&S::p700Cyanotype, 7, 1, 2611, 30176, 19, 7739, 1953},
  };
  for (const auto& s : shapes) {
    const auto& ch = get(s.table)[s.channel];
    SCOPED_TRACE("channel " + std::to_string(s.channel) + " peak " + std::to_string(s.peak));
    int first = 0;
    while (first < 256 && ch[first] == 0.0) ++first;
    EXPECT_EQ(first, s.firstStep);
    ASSERT_LT(first, 256);
    EXPECT_EQ(ch[first], s.firstLevel);
    for (int step = 0; step < 256; ++step) {
      if (step == s.peakStep) {
        EXPECT_EQ(ch[step], s.peak);
      } else {
        EXPECT_LT(ch[step], s.peak) << "step " << step;
      }
    }
    EXPECT_EQ(ch[128], s.at128);
    EXPECT_EQ(ch[255], s.at255);
  }
}

TEST(StarterCurveTables, StandardTableHoldsItsPinnedLevels) {
  const int steps[] = {0, 1, 2, 16, 32, 64, 96, 128, 160, 192, 224, 254, 255};
  const double rows[8][13] = {
      {0, 0, 0, 0, 0, 0, 0, 6, 83, 544, 2455, 30581, 32800},
      {0, 157, 320, 1498, 1881, 2181, 2394, 2605, 2917, 3210, 3533, 3964, 3994},
      {0, 196, 400, 1873, 2351, 2726, 2993, 3256, 3646, 4013, 4416, 4955, 4992},
      {0, 157, 320, 1498, 1881, 2185, 2409, 2646, 3011, 3405, 3915, 4787, 4903},
      {0, 157, 320, 1498, 1881, 2181, 2394, 2605, 2917, 3210, 3533, 3964, 3994},
      {0, 196, 400, 1873, 2351, 2726, 2993, 3256, 3646, 4013, 4416, 4955, 4992},
      {0, 183, 366, 2923, 5633, 10381, 14514, 18670, 23078, 27715, 31753, 19641, 16098},
      {0, 1232, 2490, 14603, 21563, 26919, 24969, 21204, 16321, 10774, 5222, 174, 11},
  };
  const auto& t = starterCurveTables().k8Standard;
  for (int c = 0; c < 8; ++c) {
    for (int i = 0; i < 13; ++i) EXPECT_EQ(t[c][steps[i]], rows[c][i]) << "channel " << c << " step " << steps[i];
  }
}

TEST(StarterCurve, NewObjectShowsTheStandardEightInkCurve) {
  StarterCurve sc;
  EXPECT_EQ(sc.currentHeaderInfo,
            (std::vector<std::string>{"## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK", "# Halvorin for macOS v2"}));
  EXPECT_EQ(sc.currentInkList, (std::vector<std::string>{"# K Curve", "# C Curve", "# M Curve", "# Y Curve",
                                                         "# LC Curve", "# LM Curve", "# LK Curve", "# LLK Curve"}));
  EXPECT_EQ(sc.headerInfoFor10Ink[0], "## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,OR,GR");
  EXPECT_EQ(sc.headerInfoForPro10Ink[0], "## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,V,MK");
  for (const auto* h : {&sc.headerInfoFor10Ink, &sc.headerInfoForPro10Ink}) {
    ASSERT_EQ(h->size(), 2u);
    EXPECT_EQ((*h)[1], "# Halvorin for macOS v2");
  }
  ASSERT_EQ(sc.inkListFor10Ink.size(), 10u);
  ASSERT_EQ(sc.inkListForPro10Ink.size(), 10u);
  EXPECT_EQ(sc.inkListFor10Ink[8] + sc.inkListFor10Ink[9], "# OR Curve# GR Curve");
  EXPECT_EQ(sc.inkListForPro10Ink[8] + sc.inkListForPro10Ink[9], "# V Curve# MK Curve");
  EXPECT_EQ(sc.numInks, 8);
  EXPECT_EQ(sc.currentStarterCurve, starterCurveTables().k8Standard);
  EXPECT_EQ(sc.p700IlfordMG, starterCurveTables().p700IlfordMG);
  EXPECT_EQ(sc.processNotes, std::optional<std::string>(""));
  EXPECT_TRUE(sc.printerModelSetting.empty());
  EXPECT_TRUE(sc.processSetting.empty());
  EXPECT_EQ(sc.boostInputForInkLimitControl, 50);
  EXPECT_EQ(sc.currentStarterCurveWithBoostSetting, InkCurves{std::vector<double>{}});
}

}  // namespace
}  // namespace starter_curves

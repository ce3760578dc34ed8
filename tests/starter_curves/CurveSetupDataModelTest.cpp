#include <gtest/gtest.h>

#include <cmath>

#include "linearization/QuadDataFile.h"
#include "platform/text/Text.h"
#include "starter_curves/CurveSetupDataModel.h"
#include "support/FakeHost.h"

namespace starter_curves {
namespace {

using platform::text::split;

struct Screen {
  testsupport::FakeHost host;
  CurveSetupDataModel model{host};
  StarterCurve& sc = *model.starterCurve;

  void choose(const std::string& printer, const std::string& process) {
    sc.printerModelSetting = printer;
    model.setInkFamily();
    model.updateStarterCurve();
    sc.processSetting = process;
    model.updateStarterCurve();
  }
  std::string text() {
    int64_t clamped = 0;
    return sc.starterCurveQuadText(clamped).value_or("<none>");
  }
};

TEST(CurveSetupDataModel, PrinterAndProcessChooseInkSetAndTable) {
  const auto& t = starterCurveTables();
  enum Family { eight, orGr, vMk };
  struct Case {
    const char* printer;
    Family family;
  };
  const Case printers[] = {{"x800-x880", eight},         {"P4000/P6000/P8000", eight}, {"Epson 3880", eight},
                           {"", eight},                  {"P5000/P7000/P9000", orGr},  {"4900/7900/9900", orGr},
                           {"P700/P900", vMk}};
  struct Row {
    const char* process;
    const InkCurves* byFamily[3];
  };
  const Row processes[] = {
      {"Standard Starter Curve", {&t.k8Standard, &t.k10Standard, &t.p700Standard}},
      {"Traditional Cyanotype", {&t.k8TradCyanotype, &t.k10TradCyanotype, &t.p700Cyanotype}},
      {"Carbon Transfer", {&t.k8Carbon, &t.k10SCarbon, &t.p700Standard}},
      {"Lodima Grade 2", {&t.k8LodimaG2, &t.k10LodimaG2, &t.P700LodimaG2}},
      {"Ilford MG Classic", {&t.k8IlfordMGClassic, &t.k10IlfordMGClassic, &t.p700IlfordMG}},
      {"HLV-PiezoPro", {&t.k8PzPro, &t.k10PzPro, &t.p700Standard}},
      {"", {&t.k8Standard, &t.k10Standard, &t.p700Standard}},
      {"Salt Print", {&t.k8Standard, &t.k10Standard, &t.p700Standard}},
  };
  for (const auto& p : printers) {
    for (const auto& r : processes) {
      SCOPED_TRACE(std::string(p.printer) + " / " + r.process);
      Screen s;
      s.choose(p.printer, r.process);
      const auto& sc = s.sc;
      EXPECT_EQ(sc.currentStarterCurve, *r.byFamily[p.family]);
      EXPECT_EQ(sc.currentStarterCurveWithBoostSetting, sc.currentStarterCurve);  // no boost yet
      const auto& header = p.family == eight ? sc.headerInfoFor8Ink
                           : p.family == orGr ? sc.headerInfoFor10Ink
                                              : sc.headerInfoForPro10Ink;
      const auto& inks = p.family == eight ? sc.inkListFor8Ink
                         : p.family == orGr ? sc.inkListFor10Ink
                                            : sc.inkListForPro10Ink;
      EXPECT_EQ(sc.currentHeaderInfo, header);
      EXPECT_EQ(sc.currentInkList, inks);
      EXPECT_EQ(sc.numInks, p.family == eight ? 8 : 10);
      EXPECT_EQ(sc.currentStarterCurve.size(), inks.size());
      EXPECT_EQ(s.host.logLines.back(), p.printer);
    }
  }
}

TEST(CurveSetupDataModel, BoostChainStartsFromTheTableEachTime) {
  Screen s;
  EXPECT_EQ(s.sc.currentStarterCurveWithBoostSetting, starterCurveTables().k8Standard);
  s.choose("x800-x880", "Carbon Transfer");
  s.model.boost->boostInput = 10;
  s.model.yellowBoost->boostYellowInput = 10;
  s.model.totalInkBoost->totalInkLoadBoostInput = 0.1;
  s.model.updateStarterCurve();
  const auto once = s.sc.currentStarterCurveWithBoostSetting;
  s.model.updateStarterCurve();
  EXPECT_EQ(s.sc.currentStarterCurveWithBoostSetting, once);

  const auto& table = starterCurveTables().k8Carbon;
  EXPECT_NEAR(once[3][255], table[3][255] * 1.1 * 1.25 * 1.1, 0.01);  // Y: ink limit, yellow, total
  EXPECT_NEAR(once[0][255], table[0][255] * 1.1 * 1.1, 0.01);         // K: ink limit, total
  EXPECT_NEAR(s.model.yellowBoost->ogYellowInkLimit, table[3][255] * 1.1, 0.01);
  for (const auto& ch : once) EXPECT_EQ(ch[0], 0.0);

  // A new family keeps the amounts and switches header, markers and table.
  s.sc.printerModelSetting = "P5000/P7000/P9000";
  s.model.setInkFamily();
  s.model.updateStarterCurve();
  EXPECT_EQ(s.sc.currentHeaderInfo, s.sc.headerInfoFor10Ink);
  EXPECT_EQ(s.sc.currentInkList, s.sc.inkListFor10Ink);
  EXPECT_EQ(s.sc.currentStarterCurve, starterCurveTables().k10SCarbon);
  EXPECT_NEAR(s.sc.currentStarterCurveWithBoostSetting[3][255], table[3][255] * 1.1 * 1.25 * 1.1, 0.01);
}

TEST(StarterCurveExport, TextLayout) {
  struct Case {
    const char* printer;
    std::optional<std::string> notes;
    std::vector<std::string> noteLines;
    size_t lines;
  };
  const Case cases[] = {
      {"x800-x880", std::string("one line"), {"# one line"}, 2059},
      {"P700/P900", std::string("one line"), {"# one line"}, 2573},
      {"x800-x880", std::string("a\nb"), {"# a", "# b"}, 2060},
      {"x800-x880", std::string(), {"# "}, 2059},
      {"x800-x880", std::nullopt, {"# VelmoraArts Halvorin-Karovel v1"}, 2059},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    Screen s;
    s.choose(c.printer, "Standard Starter Curve");
    s.sc.processNotes = c.notes;
    const auto text = s.text();
    const auto lines = split(text, "\n");
    ASSERT_EQ(lines.size(), c.lines);
    EXPECT_EQ(lines[0], s.sc.currentHeaderInfo[0]);
    EXPECT_EQ(lines[1], "# Halvorin for macOS v2");
    for (size_t i = 0; i < c.noteLines.size(); ++i) EXPECT_EQ(lines[2 + i], c.noteLines[i]);
    const size_t first = 2 + c.noteLines.size();
    const auto& curve = s.sc.currentStarterCurve;
    for (size_t ch = 0; ch < curve.size(); ++ch) {
      EXPECT_EQ(lines[first + ch * 257], s.sc.currentInkList[ch]);
      for (size_t step = 0; step < 256; ++step) {
        ASSERT_EQ(lines[first + ch * 257 + 1 + step], std::to_string(static_cast<int>(curve[ch][step])));
      }
    }
    EXPECT_NE(text.back(), '\n');
  }
}

TEST(StarterCurveExport, LevelsWithoutA16BitFormAreClamped) {
  StarterCurve sc;
  sc.currentStarterCurveWithBoostSetting = sc.k8Standard;
  auto& k = sc.currentStarterCurveWithBoostSetting[0];
  k[1] = 1234.9;
  k[2] = -0.5;
  k[3] = 65535.7;
  k[4] = 70000;
  k[5] = std::nan("");
  k[6] = -INFINITY;
  k[7] = INFINITY;
  int64_t clamped = 0;
  const auto lines = split(sc.starterCurveQuadText(clamped).value(), "\n");
  const std::vector<std::string> expected{"0", "1234", "0", "65535", "65535", "0", "0", "65535"};
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.begin() + 12), expected);
  EXPECT_EQ(clamped, 4);  // all but 1234.9 and -0.5, which are only cut toward zero

  // A big boost on the PiezoPro table: K passes 65535 and is clamped, the
  // count is logged, and the file is still offered.
  testsupport::FakeHost host;
  testsupport::TempDir dir;
  Screen s;
  s.choose("x800-x880", "HLV-PiezoPro");
  s.model.boost->boostInput = 100;
  s.model.totalInkBoost->totalInkLoadBoostInput = 0.5;
  s.model.updateStarterCurve();
  host.saveAnswers.push_back(dir / "pz.quad");
  const auto outcome = s.sc.exportStarterCurve(host);
  EXPECT_TRUE(outcome.offered);
  EXPECT_GT(outcome.clampedLevels, 0);
  ASSERT_FALSE(host.logLines.empty());
  EXPECT_EQ(host.logLines.back(), "Clamped " + std::to_string(outcome.clampedLevels) +
                                      " ink levels outside 0...65535 while writing the starter curve");
  const auto written = split(testsupport::slurp(dir / "pz.quad"), "\n");
  ASSERT_EQ(written.size(), 2059u);
  EXPECT_EQ(written[3], "# K Curve");
  EXPECT_EQ(written[4 + 255], "65535");
}

TEST(StarterCurveExport, CurveThatDoesNotFitItsMarkersIsNotOffered) {
  // A bare starter curve still holds one empty channel; a table of eight
  // channels under ten marker lines; a channel cut short.
  std::vector<std::function<void(StarterCurve&)>> setups = {
      [](StarterCurve&) {},
      [](StarterCurve& sc) {
        sc.currentInkList = sc.inkListFor10Ink;
        sc.currentStarterCurveWithBoostSetting = sc.k8PzPro;
      },
      [](StarterCurve& sc) {
        sc.currentStarterCurveWithBoostSetting = sc.k8Standard;
        sc.currentStarterCurveWithBoostSetting[7].resize(255);
      },
  };
  for (size_t i = 0; i < setups.size(); ++i) {
    SCOPED_TRACE(i);
    StarterCurve sc;
    setups[i](sc);
    testsupport::FakeHost host;
    EXPECT_FALSE(sc.exportStarterCurve(host).offered);
    EXPECT_TRUE(host.saveRequests.empty());
    ASSERT_EQ(host.logLines.size(), 1u);
    EXPECT_EQ(host.logLines[0].rfind("Starter curve not exported: ", 0), 0u) << host.logLines[0];
  }
}

TEST(StarterCurveExport, SavedFileReadsBackAsAQuadFile) {
  Screen s;
  s.choose("P700/P900", "Lodima Grade 2");
  s.model.boost->boostInput = 12.5;
  s.model.updateStarterCurve();
  s.sc.processNotes = "Lodima paper\ngrade 2";
  testsupport::TempDir dir;
  s.host.deferSaves = true;
  ASSERT_TRUE(s.sc.exportStarterCurve(s.host).offered);
  ASSERT_EQ(s.host.saveRequests.size(), 1u);
  EXPECT_EQ(s.host.saveRequests[0].allowedTypes, std::vector<std::string>{"quad"});
  EXPECT_TRUE(s.host.saveRequests[0].canCreateDirectories);
  const auto offered = s.text();
  const auto boosted = s.sc.currentStarterCurveWithBoostSetting;

  // The text was fixed when the panel opened.
  s.sc.processNotes = "changed";
  s.choose("x800-x880", "Carbon Transfer");
  s.host.completeSave(dir / "lodima.quad");
  EXPECT_EQ(testsupport::slurp(dir / "lodima.quad"), offered);

  auto q = linearization::QuadDataFile::fromFile(dir / "lodima.quad");
  ASSERT_TRUE(q);
  ASSERT_TRUE(q->readQuadFile(q->rawQuadData));
  EXPECT_EQ(q->numInks, 10);
  EXPECT_EQ(q->processNotes, "Halvorin for macOS v2\nLodima paper\ngrade 2");
  EXPECT_EQ(q->inkList.back(), "# MK Curve");
  ASSERT_EQ(q->inputQuadCurveArray->size(), 10u);
  for (size_t c = 0; c < 10; ++c) {
    for (size_t step = 0; step < 256; ++step) {
      ASSERT_EQ((*q->inputQuadCurveArray)[c][step], std::trunc(boosted[c][step])) << c << "/" << step;
    }
  }

  // Cancelling writes nothing.
  s.host.deferSaves = false;
  ASSERT_TRUE(s.sc.exportStarterCurve(s.host).offered);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace starter_curves

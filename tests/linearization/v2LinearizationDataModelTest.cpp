#include <gtest/gtest.h>

#include <cmath>

#include "linearization/readers/HLVCIELabFile.h"
#include "linearization/v2LinearizationDataModel.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"
#include "support/SampleFiles.h"

using namespace linearization;
using testsupport::FakeHost;
using testsupport::slurp;
using testsupport::TempDir;

namespace {

std::shared_ptr<MeasurementFile> measurementFile(const std::string& text, FakeHost& host,
                                                 const std::string& name = "wedge.txt") {
  return measurementFileFromBytes(text, name, host);
}

// A document prepared as the main window does, loaded from `text`, smoothed
// with the default controls.
struct LoadedDocument {
  FakeHost host;
  v2LinearizationDataModel doc;
  bool loaded = false;

  explicit LoadedDocument(const std::string& text, double smoothing = kDefaultSmoothingControl) {
    prepareLikeMainWindow(doc);
    loaded = doc.readMeasurementFile(*measurementFile(text, host), host);
    doc.avgWindowSize = avgWindowSizeForControl(smoothing);
    doc.splinePercent = splinePercentForControl(smoothing);
    doc.resetLinearization();
    doc.updateLinearization();
  }
};

TEST(LinearizationDocument, MeasurementDataFileText) {
  const std::vector<CIELab> readings = {{95.5, 0.25, -1}, {50, 0, 0}, {3.14159, 1, 2}};
  const std::string text = measurementDataFileText(readings);
  EXPECT_EQ(text,
            "Halvorin Measurement Data File\nStep\tLab_L\tLab_A\tLab_B\n"
            "1\t95.500\t0.250\t-1.000\n2\t50.000\t0.000\t0.000\n3\t3.142\t1.000\t2.000");

  // The system reads its own file back.
  FakeHost host;
  auto file = measurementFile(text, host);
  EXPECT_EQ(file->detectFormat(host), FormatName::HLVCIELab);
}

TEST(LinearizationDocument, FormulasAndSettings) {
  std::vector<double> steps;
  for (int i = 0; i < 256; ++i) steps.push_back(i * 100.0 / 255.0);
  const std::pair<double, int64_t> searches[] = {{0, 0}, {50, 127}, {99.9, 254}, {100, 254}, {-1, 0}, {NAN, 0}};
  for (const auto& [x, index] : searches) EXPECT_EQ(v2LinearizationDataModel::binarySearchIndex(steps, x), index) << x;
  EXPECT_EQ(v2LinearizationDataModel::binarySearchIndex({5}, 7), 0);

  EXPECT_NEAR(densityOfLstar(8), 2.05274, 1e-5);
  EXPECT_NEAR(densityOfLstar(7.99), 2.05328, 1e-5);
  EXPECT_EQ(densityOfLstar(0), INFINITY);
  EXPECT_NEAR(densityOfLstar(100), 0, 1e-12);

  EXPECT_EQ(avgWindowSizeForControl(33), 21);
  EXPECT_EQ(splinePercentForControl(33), 0.67);
  EXPECT_EQ(splinePercentForControl(100), 0);
  EXPECT_EQ(splinePercentForControl(150), 0);
  EXPECT_EQ(avgWindowSizeForControl(-5), 0);
}

TEST(LinearizationDocument, PlaceholderReadingsAreProcessedButFlagged) {
  v2LinearizationDataModel doc;
  prepareLikeMainWindow(doc);
  EXPECT_TRUE(doc.measurementDataLoadingError);
  ASSERT_EQ(doc.rawMeasurements.size(), 21u);
  EXPECT_EQ(doc.rawMeasurements.front().L, 99.99);
  EXPECT_EQ(doc.rawMeasurements[1].L, 95);
  EXPECT_EQ(doc.rawMeasurements.back().L, 0.01);
  EXPECT_EQ(doc.interpolatedMeasurements.size(), 256u);
  EXPECT_EQ(doc.dmax, densityOfLstar(doc.interpolatedMeasurements.back().L)) << "processing sets Dmax";
  EXPECT_EQ(doc.stepArray.size(), 256u);
  EXPECT_EQ(doc.manualCurve.front(), 100);
  EXPECT_EQ(doc.manualCurve.back(), 0);
}

TEST(LinearizationDocument, LinearWedgeGivesIdentityAndPredictionRunsBackwards) {
  LoadedDocument d(testsupport::cgatsWedge(testsupport::evenLstar(21, 90, 10)));
  ASSERT_TRUE(d.loaded);
  EXPECT_TRUE(d.host.alerts.empty());
  const auto& doc = d.doc;
  EXPECT_FALSE(doc.measurementDataLoadingError);
  EXPECT_EQ(doc.rawMeasurements.size(), 21u);
  EXPECT_NEAR(doc.dmax, densityOfLstar(doc.interpolatedMeasurements.back().L), 0);
  EXPECT_TRUE(doc.matteDensityRange) << "the darkest step reads L* 10, resampled a little above it";

  ASSERT_TRUE(doc.correctionCurve->correctionCurveArray);
  const auto& c = *doc.correctionCurve->correctionCurveArray;
  ASSERT_EQ(c.size(), 256u);
  for (int j = 0; j < 256; ++j) EXPECT_NEAR(c[j], (255 - j) * 100.0 / 255.0, 1.0) << j;

  ASSERT_EQ(doc.correctedMeasurements.size(), 256u);
  EXPECT_NEAR(doc.correctedMeasurements.front().L, doc.smoothedMeasurements.back().L, 1e-6);
  EXPECT_NEAR(doc.correctedMeasurements.back().L, doc.smoothedMeasurements.front().L, 1e-6);
}

TEST(LinearizationDocument, OpensAveragedCgatsReadingsAndTheMatteRange) {
  // A CGATS file measured twice per step opens as its 21 averaged readings.
  // The darkest resampled L* decides the matte range, exactly 10 not being
  // matte (one reading resamples to 256 copies of itself, so it is exact).
  std::vector<double> twice;
  for (double L : testsupport::evenLstar(21, 90, 10)) twice.insert(twice.end(), {L, L});
  struct Case {
    std::vector<double> Ls;
    std::size_t opened;
    bool matte;
  };
  for (const Case& c : {Case{twice, 21, true}, Case{{10.0}, 1, false}, Case{{10.01}, 1, true}}) {
    LoadedDocument d(testsupport::cgatsWedge(c.Ls));
    ASSERT_TRUE(d.loaded) << c.Ls.size();
    EXPECT_EQ(d.doc.rawMeasurements.size(), c.opened) << c.Ls.size();
    EXPECT_EQ(d.doc.openedOriginalMeasurements.size(), c.opened) << c.Ls.size();
    EXPECT_EQ(d.doc.matteDensityRange, c.matte) << c.Ls.back();
  }
}

TEST(LinearizationDocument, NonLinearWedgeGivesAMonotoneCorrection) {
  std::vector<double> Ls;
  for (int i = 0; i < 21; ++i) Ls.push_back(5.2 + 89.6 * std::pow(1 - i / 20.0, 1.6));
  LoadedDocument d(testsupport::cgatsWedge(Ls));
  ASSERT_TRUE(d.loaded);
  ASSERT_TRUE(d.doc.correctionCurve->correctionCurveArray);
  const auto& c = *d.doc.correctionCurve->correctionCurveArray;
  EXPECT_EQ(c.front(), 100);
  EXPECT_EQ(c.back(), 0);
  for (int j = 1; j < 256; ++j) EXPECT_LE(c[j], c[j - 1]) << j;
  // The predicted print is close to the straight target.
  const auto& target = d.doc.correctionCurve->linearTargetArray;
  for (int i = 0; i < 256; i += 15)
    EXPECT_NEAR(d.doc.correctedMeasurements[255 - i].L, target[i], 3.0) << i;
}

TEST(LinearizationDocument, FailedLoadsLeaveTheDocumentUnchangedWithOneAlert) {
  const std::string noLabColumn =
      "CGATS.17\nNUMBER_OF_FIELDS\t3\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tX\tY\nEND_DATA_FORMAT\n"
      "NUMBER_OF_SETS\t2\nBEGIN_DATA\n1\t2\t3\n2\t3\t4\nEND_DATA\n";
  const std::string tooManySets = testsupport::cgatsWedge({90, 50, 10}).replace(
      testsupport::cgatsWedge({90, 50, 10}).find("NUMBER_OF_SETS\t3"), 16, "NUMBER_OF_SETS\t99");
  const std::pair<const char*, std::string> cases[] = {
      {"ColorMunki", "Name\tL\ta\tb\nA1\t95\t0\t0\n"},
      {"unknown first line", "hello\nworld\n"},
      {"CGATS without LAB_L", noLabColumn},
      {"more sets than lines", tooManySets},
      {"empty file", ""},
  };
  for (const auto& [why, text] : cases) {
    FakeHost host;
    v2LinearizationDataModel doc;
    prepareLikeMainWindow(doc);
    const auto before = doc.interpolatedMeasurements;
    const auto rawBefore = doc.rawMeasurements;
    const double dmaxBefore = doc.dmax;
    EXPECT_FALSE(doc.readMeasurementFile(*measurementFile(text, host), host)) << why;
    EXPECT_EQ(host.alertMessages(), std::vector<std::string>{"Failed to Load Measurement Data"}) << why;
    EXPECT_TRUE(doc.measurementDataLoadingError) << why;
    EXPECT_EQ(doc.interpolatedMeasurements, before) << why;
    EXPECT_EQ(doc.rawMeasurements, rawBefore) << why;
    EXPECT_TRUE(doc.openedOriginalMeasurements.empty()) << why;
    EXPECT_EQ(doc.dmax, dmaxBefore) << why;
  }
  FakeHost host;
  v2LinearizationDataModel doc;
  MeasurementFile noLines;
  noLines.measurementData.reset();
  EXPECT_FALSE(doc.readMeasurementFile(noLines, host));
  EXPECT_EQ(host.alerts.size(), 1u);
}

TEST(LinearizationDocument, LinearizeQuadRefusesWhatItCannotCorrect) {
  LoadedDocument d(testsupport::cgatsWedge(testsupport::evenLstar(21, 90, 10)));
  auto& doc = d.doc;
  EXPECT_FALSE(doc.linearizeQuad(&d.host)) << "no .quad";

  auto rejected = QuadDataFile::fromLines({"not a quad"});
  rejected->readQuadFile(rejected->rawQuadData);
  doc.quadData = rejected;
  EXPECT_FALSE(doc.linearizeQuad(&d.host)) << "a rejected .quad has no channels";

  auto quad = QuadDataFile::fromLines(platform::text::split(
      testsupport::quadFileText("## QuadToneRIP K,C,M,Y", {"# K Curve", "# C Curve", "# M Curve", "# Y Curve"},
                                [](int c, int i) { return c == 0 ? i * 100.0 : 0.0; }),
      "\n"));
  ASSERT_TRUE(quad->readQuadFile(quad->rawQuadData));
  doc.quadData = quad;
  auto lin = doc.linearizeQuad(&d.host);
  ASSERT_TRUE(lin);
  EXPECT_EQ(lin->linearizedOutputQuadArray.size(), 4u);

  doc.manualCurve.resize(100);  // a manual curve of another length
  doc.updateLinearization();
  EXPECT_FALSE(doc.linearizeQuad(&d.host));

  doc.correctionCurve->correctionCurveArray.reset();
  d.host.logLines.clear();
  EXPECT_FALSE(doc.linearizeQuad(&d.host));
  EXPECT_EQ(d.host.logLines, std::vector<std::string>{"Failed to create correction curve"});

  EXPECT_TRUE(doc.predictCorrectedMeasurements({50}, {}).empty()) << "too few smoothed readings";
}

TEST(LinearizationDocument, ExportMeasurements) {
  TempDir dir;
  FakeHost host;
  v2LinearizationDataModel empty;
  empty.exportMeasurements(host);
  EXPECT_TRUE(host.saveRequests.empty()) << "no smoothed readings, no panel";

  LoadedDocument d(testsupport::cgatsWedge(testsupport::evenLstar(21, 90, 10)));
  d.host.saveAnswers.push_back(std::nullopt);
  d.doc.exportMeasurements(d.host);
  ASSERT_EQ(d.host.saveRequests.size(), 1u);
  EXPECT_EQ(d.host.saveRequests[0].allowedTypes, std::vector<std::string>{"txt"});

  auto path = dir / "smoothed.txt";
  d.host.saveAnswers.push_back(path);
  d.doc.exportMeasurements(d.host);
  const auto text = slurp(path);
  EXPECT_EQ(text, measurementDataFileText(d.doc.smoothedMeasurements));
  EXPECT_EQ(platform::text::split(text, "\n").size(), 258u);

  d.host.saveAnswers.push_back(dir / "missing-folder" / "x.txt");
  d.doc.exportMeasurements(d.host);
  EXPECT_EQ(d.host.failures.size(), 1u);
}

}  // namespace

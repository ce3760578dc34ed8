#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "linearization/exports/Exports.h"
#include "linearization/exports/GutenprintXML.h"
#include "linearization/exports/PhotoshopCubeLUT.h"
#include "linearization/exports/PhotoshopCurve.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"

using namespace linearization;
using testsupport::FakeHost;
using testsupport::slurp;
using testsupport::TempDir;

namespace {

std::vector<std::string> lines(const std::string& text) { return platform::text::split(text, "\n"); }

TEST(PhotoshopCubeLUT, TextOfShortAndFullCurves) {
  PhotoshopCubeLUT lut;
  EXPECT_FALSE(lut.makeCubeHeader());
  EXPECT_FALSE(lut.makeCube({1, 2}));

  lut.curve = {0, 39.2, 100};
  const std::string header =
      "#Color Lookup Table \n"
      "TITLE \"Halvorin Color Lookup Table for 21-step Linearity Correction\"\n"
      "LUT_1D_SIZE 3\n"
      "DOMAIN_MIN 0.0 0.0 0.0\n"
      "DOMAIN_MAX 1.0 1.0 1.0\n";
  EXPECT_EQ(lut.makeCubeHeader(), header);
  EXPECT_EQ(lut.makeCube({}), header);
  EXPECT_EQ(lut.makeCube(lut.curve), header + "0.0 0.0 0.0\n0.392 0.392 0.392\n1.0 1.0 1.0\n");
  // Very small values take the exponent form, 0.01 % does not yet.
  EXPECT_EQ(lut.makeCube({0.01, 0.001}), header + "0.0001 0.0001 0.0001\n1e-05 1e-05 1e-05\n");

  // The reversed correction curve of 256 steps: 5 header lines, 256 data lines.
  lut.curve.clear();
  for (int i = 0; i < 256; ++i) lut.curve.push_back(i * 100.0 / 255);
  auto cube = lut.makeCube(lut.curve);
  ASSERT_TRUE(cube);
  auto l = lines(*cube);
  ASSERT_EQ(l.size(), 262u);  // the text ends with a line feed
  EXPECT_EQ(l[2], "LUT_1D_SIZE 256");
  EXPECT_EQ(l[5], "0.0 0.0 0.0");
  EXPECT_EQ(l[6], "0.00392156862745098 0.00392156862745098 0.00392156862745098");
  EXPECT_EQ(l[260], "1.0 1.0 1.0");
  EXPECT_EQ(l[261], "");
}

TEST(PhotoshopCubeLUT, SavingThroughThePanel) {
  TempDir dir;
  FakeHost host;
  PhotoshopCubeLUT lut;
  lut.saveCubeFile(host);  // no text yet: no panel
  EXPECT_TRUE(host.saveRequests.empty());

  lut.curve = {0, 100};
  lut.outputCube = lut.makeCube(lut.curve);
  host.saveAnswers = {dir / "a.cube", dir / "missing" / "b.cube", std::nullopt};
  lut.saveCubeFile(host);
  lut.saveCubeFile(host);
  lut.saveCubeFile(host);
  ASSERT_EQ(host.saveRequests.size(), 3u);
  EXPECT_EQ(host.saveRequests[0].allowedTypes, std::vector<std::string>{"cube"});
  EXPECT_TRUE(host.saveRequests[0].canCreateDirectories);
  EXPECT_EQ(slurp(dir / "a.cube"), *lut.outputCube);
  EXPECT_EQ(host.failures.size(), 1u);  // the folder that is not there
  EXPECT_TRUE(host.alerts.empty());
}

TEST(PhotoshopCurve, WordsAndBytes) {
  FakeHost host;
  PhotoshopCurve<uint16_t> acv;
  const std::vector<uint16_t> defaults = {4, 5,   2, 0, 0, 255, 255, 2, 0, 0, 255, 255, 2, 0,
                                          0, 255, 255, 2, 0, 0, 255, 255, 2, 0, 0, 255, 255};
  EXPECT_EQ(acv.makeACVWords(&host), defaults);
  EXPECT_EQ(host.logLines, std::vector<std::string>{"RGB Curve"});
  const std::string bytes = acvBytes(defaults);
  ASSERT_EQ(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 14), std::string("\0\x04\0\x05\0\x02\0\0\0\0\0\xFF\0\xFF", 14));
  EXPECT_EQ(acvBytes({256, 0xABCD}), std::string("\x01\x00\xAB\xCD", 4));

  // The composite stores output before input.
  acv.compCurvePoints = {{0, 0}, {120, 100}, {255, 255}};
  EXPECT_EQ(acv.curveWords(acv.compCurvePoints), (std::vector<uint16_t>{3, 0, 0, 120, 100, 255, 255}));
  EXPECT_EQ(acv.makeACVWords().size(), 29u);

  const std::pair<uint16_t, const char*> kinds[] = {
      {2, "Grayscale Curve"}, {6, "CMYK Curve"}, {3, "unknown curve type"}, {0, "unknown curve type"}};
  for (const auto& [count, line] : kinds) {
    host.logLines.clear();
    acv.nChannels = count;
    EXPECT_EQ(acv.makeACVWords(&host), (std::vector<uint16_t>{4, count}));
    EXPECT_EQ(host.logLines, std::vector<std::string>{line});
  }
}

TEST(GutenprintInkXML, TextOfOneChannel) {
  gutenprintInkXML xml;
  xml.channelName = "# K Curve";
  xml.paperName = "Platine";
  xml.quadArray = {0, 1234.5, 1235.5, 65535};
  EXPECT_EQ(xml.makeXML(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!-- Platine -->\n"
            "<channelname>\n"
            "# K Curve\n"
            "</channelname>\n"
            "<gutenprint>\n"
            "<curve wrap=\"nowrap\" type=\"spline\" gamma=\"0\">\n"
            "<sequence count=\"256\" lower-bound=\"0\" upper-bound=\"65535\">\n"
            "0\n1234\n1236\n65535\n"
            "</sequence>\n"
            "</curve>\n"
            "</gutenprint>");

  // Names that would break the XML are made safe; ordinary ones are not touched.
  xml.channelName = "# K&<L> Curve";
  xml.paperName = "a--b---c-";
  xml.quadArray.clear();
  auto text = xml.makeXML();
  EXPECT_NE(text.find("<!-- a- -b- - -c- -->\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n# K&amp;&lt;L&gt; Curve\n"), std::string::npos) << text;
  EXPECT_NE(text.find("upper-bound=\"65535\">\n</sequence>"), std::string::npos) << text;
}

TEST(GutenprintInkXML, LevelsAreWholeAndHeldToTheRange) {
  const std::pair<double, const char*> levels[] = {
      {1234.5, "1234"}, {1235.5, "1236"}, {0.5, "0"},         {1.5, "2"},         {2.4999, "2"},
      {65535, "65535"}, {65535.4, "65535"}, {-0.4, "0"},      {-0.0, "0"},        {-3, "0"},
      {65535.5, "65535"}, {70000, "65535"}, {NAN, "0"},       {INFINITY, "65535"},
      {-0.5, "0"},        {-0.6, "0"},      {-1.5, "0"},
  };
  FakeHost host;
  gutenprintInkXML xml;
  xml.channelName = "# C Curve";
  std::string expected;
  for (const auto& [level, text] : levels) {
    xml.quadArray.push_back(level);
    expected += std::string(text) + "\n";
  }
  EXPECT_EQ(xml.sequenceValuesText(&host), expected);
  ASSERT_EQ(host.logLines.size(), 1u);
  // -3, -0.6 and -1.5 round below 0; 65535.5 rounds to 65536.
  EXPECT_NE(host.logLines[0].find("Clamped 7 "), std::string::npos) << host.logLines[0];
  xml.quadArray.clear();
  EXPECT_EQ(xml.sequenceValuesText(), "");
}

TEST(GutenprintInkXML, FileNamesByMarker) {
  const std::pair<const char*, const char*> names[] = {
      {"# K Curve", "Black.xml"},           {"# C Curve", "Cyan.xml"},
      {"# M Curve", "Magenta.xml"},         {"# Y Curve", "Yellow.xml"},
      {"# LC Curve", "LightCyan.xml"},      {"# LM Curve", "LightMagenta.xml"},
      {"# LK Curve", "LightBlack.xml"},     {"# LLK Curve", "LightLightBlack.xml"},
      {"# OR Curve", "Orange.xml"},         {"# GR Curve", "Green.xml"},
      {"# MK Curve", ""},                   {"# V Curve", ""},
      {"K Curve", ""},                      {"", ""},
  };
  gutenprintInkXML xml;
  for (const auto& [marker, name] : names) {
    xml.channelName = marker;
    EXPECT_EQ(xml.makeChannelFileName(), name) << marker;
  }
  EXPECT_EQ(folderName("out/xml/"), "xml");
  EXPECT_EQ(folderName("/tmp/Arches Platine"), "Arches Platine");
}

// Channel c, step i: 1000 * c + i.
std::vector<InkCurve> numberedCurves(size_t count) {
  std::vector<InkCurve> curves(count);
  for (size_t c = 0; c < count; ++c)
    for (int i = 0; i < 256; ++i) curves[c].push_back(1000.0 * c + i);
  return curves;
}

std::vector<std::string> sortedFiles(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(GutenprintXMLFiles, FolderExportOfAVAndMKSet) {
  TempDir dir;
  const auto folder = dir / "Platine--v2";
  std::filesystem::create_directory(folder);
  const std::vector<std::string> markers = {"# K Curve",  "# C Curve",  "# M Curve",   "# Y Curve", "# LC Curve",
                                            "# LM Curve", "# LK Curve", "# LLK Curve", "# V Curve", "# MK Curve"};
  FakeHost host;
  auto written = writeGutenprintXMLFiles(numberedCurves(10), markers, folder, host);
  EXPECT_TRUE(writeReferenceQuadFile("ref text", folder, host));

  EXPECT_EQ(written.size(), 8u);
  EXPECT_EQ(host.alertMessages(), (std::vector<std::string>{"can't save xml", "can't save xml"}));
  ASSERT_EQ(host.failures.size(), 2u);
  EXPECT_EQ(host.failures[1], "no XML file for the channel \"# MK Curve\"; skipped");
  EXPECT_EQ(sortedFiles(folder),
            (std::vector<std::string>{"Black.xml", "Cyan.xml", "LightBlack.xml", "LightCyan.xml",
                                      "LightLightBlack.xml", "LightMagenta.xml", "Magenta.xml", "Yellow.xml",
                                      "_ref.quad"}));
  // Magenta.xml holds the M curve, not the MK curve written after it.
  const auto magenta = slurp(folder / "Magenta.xml");
  EXPECT_NE(magenta.find("<!-- Platine- -v2 -->\n<channelname>\n# M Curve\n"), std::string::npos) << magenta;
  EXPECT_NE(magenta.find("65535\">\n2000\n2001\n"), std::string::npos);
  EXPECT_EQ(slurp(folder / "_ref.quad"), "ref text");

  // Again into the same folder: the reference .quad is replaced.
  EXPECT_TRUE(writeReferenceQuadFile("second", folder, host));
  EXPECT_EQ(slurp(folder / "_ref.quad"), "second");
}

TEST(GutenprintXMLFiles, NothingIsWrittenTwiceOrForMissingCurves) {
  TempDir dir;
  FakeHost host;
  // Two channels for one file: the first keeps it.
  auto written = writeGutenprintXMLFiles(numberedCurves(3), {"# K Curve", "# K Curve", "# C Curve"}, dir.path(), host);
  EXPECT_EQ(written, (std::vector<std::filesystem::path>{dir / "Black.xml", dir / "Cyan.xml"}));
  EXPECT_EQ(host.alertMessages(), std::vector<std::string>{"can't save xml"});
  EXPECT_NE(slurp(dir / "Black.xml").find(">\n0\n1\n"), std::string::npos);

  // Fewer curves than markers: nothing at all.
  FakeHost short_;
  std::filesystem::remove(dir / "Black.xml");
  EXPECT_TRUE(writeGutenprintXMLFiles(numberedCurves(1), {"# K Curve", "# C Curve"}, dir / "x", short_).empty());
  ASSERT_EQ(short_.alertMessages(), std::vector<std::string>{"Failed to Linearize"});
  EXPECT_EQ(short_.alerts[0].informativeText,
            "Please load a valid quad curve file and measurement data file and try again");
  EXPECT_FALSE(std::filesystem::exists(dir / "Black.xml"));
}

TEST(GutenprintXMLFiles, AFolderThatCannotBeWrittenGivesOneAlertPerFile) {
  TempDir dir;
  // A "folder" that is a plain file: every write fails, whoever runs the test.
  const auto notAFolder = dir.write("file", "x");
  std::vector<std::filesystem::path> folders = {notAFolder};
  if (geteuid() != 0) {  // permissions bind everybody but root
    const auto readOnly = dir / "read-only";
    std::filesystem::create_directory(readOnly);
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    folders.push_back(readOnly);
  }
  for (const auto& folder : folders) {
    FakeHost host;
    auto written =
        writeGutenprintXMLFiles(numberedCurves(4), {"# K Curve", "# C Curve", "# M Curve", "# Y Curve"}, folder, host);
    EXPECT_TRUE(written.empty());
    EXPECT_FALSE(writeReferenceQuadFile("ref", folder, host));
    ASSERT_EQ(host.alerts.size(), 5u) << folder;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(host.alerts[i].messageText, "can't save xml");
      EXPECT_EQ(host.alerts[i].informativeText, "");
    }
    EXPECT_EQ(host.alerts[4].messageText, "can't save xml referecne quad file");
    EXPECT_FALSE(host.alerts[4].informativeText.empty());
    EXPECT_EQ(host.failures.size(), 4u);
  }
  if (folders.size() > 1)
    std::filesystem::permissions(folders[1], std::filesystem::perms::owner_all);
  EXPECT_EQ(slurp(notAFolder), "x");
  if (geteuid() == 0) GTEST_SKIP() << "not run: a read-only folder, which root writes all the same";
}

}  // namespace

#include <gtest/gtest.h>

#include <zip.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "JsonWriter.h"
#include "RunCli.h"
#include "WebDocument.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"
#include "support/SampleFiles.h"

using cli::WebDocument;
using testsupport::slurp;
using testsupport::TempDir;

namespace {

const std::filesystem::path kExamples(INKCURVE_EXAMPLES);

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines = platform::text::split(text, "\n");
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// The members of a .zip, read back with libzip.
std::map<std::string, std::string> unzipped(const std::string& bytes) {
  std::map<std::string, std::string> members;
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
  zip_error_fini(&error);
  if (!archive) {
    if (source) zip_source_free(source);
    return members;
  }
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    zip_stat_t stat;
    zip_file_t* file = zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) == 0
                           ? zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0)
                           : nullptr;
    if (!file) continue;
    std::string content(static_cast<size_t>(stat.size), '\0');
    if (zip_fread(file, content.data(), content.size()) == static_cast<zip_int64_t>(content.size()))
      members[stat.name] = std::move(content);
    zip_fclose(file);
  }
  zip_close(archive);
  return members;
}

// The texts of the state's "summary", or of its "warnings" or "errors"
// (each "about: text"), taken from the JSON.
std::vector<std::string> listed(const std::string& state, const std::string& field) {
  std::vector<std::string> items;
  const auto start = state.find("\"" + field + "\":[");
  if (start == std::string::npos) return items;
  // The array ends at the first "]" outside a string.
  size_t end = start + field.size() + 4;
  for (bool inString = false; end < state.size(); ++end) {
    if (inString && state[end] == '\\') ++end;
    else if (state[end] == '"') inString = !inString;
    else if (!inString && state[end] == ']') break;
  }
  const std::string array = state.substr(start, end - start);
  const std::regex string(R"re("((?:[^"\\]|\\.)*)")re");
  std::vector<std::string> strings;
  for (auto it = std::sregex_iterator(array.begin() + static_cast<std::ptrdiff_t>(field.size()) + 2, array.end(),
                                      string);
       it != std::sregex_iterator(); ++it)
    strings.push_back(std::regex_replace((*it)[1].str(), std::regex(R"(\\(["\\]))"), "$1"));
  if (field == "summary") return strings;
  // {"about":"...","text":"..."}: the keys and values in turn.
  for (size_t i = 0; i + 3 < strings.size(); i += 4) items.push_back(strings[i + 1] + ": " + strings[i + 3]);
  return items;
}

// What `inkcurve linearize` says on standard error, as the page's messages:
// without the "inkcurve: warning: " and "inkcurve: " it begins its lines with.
std::vector<std::string> messagesOf(const std::string& err) {
  std::vector<std::string> messages;
  for (auto line : linesOf(err)) {
    for (const std::string prefix : {"inkcurve: warning: ", "inkcurve: "})
      if (line.starts_with(prefix)) {
        line.erase(0, prefix.size());
        break;
      }
    messages.push_back(line);
  }
  return messages;
}

std::vector<std::string> texts(const std::vector<std::string>& messages) {
  std::vector<std::string> out;
  for (const auto& m : messages) out.push_back(m.substr(m.find(": ") + 2));
  return out;
}

}  // namespace

// For the example files and variants of them (the settings at both ends,
// notes, a wedge measured three times), each download is what `inkcurve
// linearize` writes from the same files and settings, byte for byte (the
// .zip's members the files of --xml-dir), and the page says what the command
// prints: its summary lines and its warnings.
TEST(WebDocument, DownloadsAndWordsAreTheCommands) {
  TempDir dir;
  const std::string exampleWedge = slurp(kExamples / "wedge-21.txt");
  const std::string exampleQuad = slurp(kExamples / "pt-pd-8ch.quad");
  // A 21-step wedge read in three passes, a little apart.
  std::vector<double> passes;
  for (const double shift : {0.1, -0.1, 0.05})
    for (const double L : testsupport::evenLstar(21, 95, 5)) passes.push_back(L + shift * (passes.size() % 3 == 0));
  struct Row {
    std::string name;
    std::string wedgeName, wedge;
    std::optional<double> smoothing, spline;
    std::optional<std::string> notes;
    std::vector<std::string> downloads;  // the names, as the state lists them
  };
  const Row rows[] = {
      {"the example", "wedge-21.txt", exampleWedge, {}, {}, {},
       {"pt-pd-8ch-corrected.quad", "wedge-21-correction.acv", "wedge-21-correction.cube", "pt-pd-8ch-xml.zip",
        "wedge-21-smoothed.txt"}},
      {"no smoothing", "wedge-21.txt", exampleWedge, 0, 0, {}, {}},
      {"the most smoothing", "wedge-21.txt", exampleWedge, 100, 100, {}, {}},
      {"notes", "wedge-21.txt", exampleWedge, 40, 20, "Platine Fibre Rag\nexposure 4 min", {}},
      {"three passes", "passes.csv", testsupport::cgatsWedge(passes), {}, {}, {},
       {"pt-pd-8ch-corrected.quad", "passes-correction.acv", "passes-correction.cube", "pt-pd-8ch-xml.zip",
        "passes-smoothed.txt"}},
  };
  const auto quad = dir.write("pt-pd-8ch.quad", exampleQuad);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto wedge = dir.write(row.wedgeName, row.wedge);
    WebDocument page;
    page.openMeasurements("some/folder/" + row.wedgeName, row.wedge);
    page.openQuad(quad.filename().string(), exampleQuad);
    const std::string state = page.setSettings(row.smoothing, row.spline, row.notes);

    const auto out = dir / "out";
    std::filesystem::remove_all(out);
    std::filesystem::create_directory(out);
    std::vector<std::string> args{"linearize", wedge.string(), quad.string()};
    if (row.smoothing) args.insert(args.end(), {"--smoothing", platform::text::shortestDescription(*row.smoothing)});
    if (row.spline) args.insert(args.end(), {"--spline", platform::text::shortestDescription(*row.spline)});
    if (row.notes) args.insert(args.end(), {"--notes", *row.notes});
    // Without outputs the command says what the page says.
    const auto said = testsupport::runInkcurve(args);
    ASSERT_EQ(said.status, 0) << said.err;
    auto summary = linesOf(said.out);
    summary.pop_back();  // "nothing written: ..."
    summary.front() = "measurements: " + row.wedgeName + summary.front().substr(summary.front().find(" ("));
    EXPECT_EQ(listed(state, "summary"), summary);
    EXPECT_EQ(texts(listed(state, "warnings")), messagesOf(said.err));

    args.insert(args.end(), {"--out", (out / "c.quad").string(), "--acv", (out / "c.acv").string(), "--cube",
                             (out / "c.cube").string(), "--xml-dir", (out / "pt-pd-8ch-xml").string(),
                             "--measurements-out", (out / "s.txt").string()});
    const auto wrote = testsupport::runInkcurve(args);
    ASSERT_EQ(wrote.status, 0) << wrote.err;
    const std::pair<const char*, std::string> files[] = {
        {"quad", "c.quad"}, {"acv", "c.acv"}, {"cube", "c.cube"}, {"measurements", "s.txt"}};
    std::vector<std::string> names;
    for (const auto& [what, file] : files) {
      const auto download = page.download(what);
      ASSERT_TRUE(download) << what;
      EXPECT_EQ(download->bytes, slurp(out / file)) << what;
      EXPECT_EQ(download->contentType, "application/octet-stream");
      names.push_back(download->fileName);
    }
    const auto zip = page.download("xml");
    ASSERT_TRUE(zip);
    EXPECT_EQ(zip->contentType, "application/zip");
    std::map<std::string, std::string> folder;
    for (const auto& entry : std::filesystem::directory_iterator(out / "pt-pd-8ch-xml"))
      folder[entry.path().filename().string()] = slurp(entry.path());
    EXPECT_EQ(folder.size(), 9u);
    EXPECT_EQ(unzipped(zip->bytes), folder);
    names.insert(names.begin() + 3, zip->fileName);
    if (!row.downloads.empty()) {
      EXPECT_EQ(names, row.downloads);
    }
  }
}

namespace {

// 66 readings of a flat 11-step print read 6 times in place, its second
// half darker, at a noise of 0.5 L*: one reading a step and six a step fit
// them alike.
std::vector<double> flatPrintReadSixTimes() {
  std::mt19937 random(2);
  std::normal_distribution<double> noise(0.0, 0.5);
  std::vector<double> v;
  for (int run = 0; run < 11; ++run)
    for (int r = 0; r < 6; ++r) v.push_back(std::round((62 - 5 * run / 10.0 + noise(random)) * 100) / 100);
  for (std::size_t k = v.size() / 2; k < v.size(); ++k)
    v[k] -= 6 * std::sin(M_PI * (k - v.size() / 2.0) / (v.size() / 2.0));
  return v;
}

// The state less its errors and question: what a refused change leaves as
// it was.
std::string withoutErrors(std::string state) {
  const auto from = state.find("\"errors\":[");
  const auto to = state.find(",\"readings\":");
  if (from == std::string::npos || to == std::string::npos) return state;
  return state.erase(from, to - from);
}

}  // namespace

// Where the layout finder asks how the readings lie, the page gets the
// question in the command's words and the layouts it offers, each with what
// opens the file so (--steps, --layout); opened so, the file reads as the
// command reads it with those options. Nothing is opened meanwhile.
TEST(WebDocument, AQuestionOffersTheLayoutsToOpenTheFileWith) {
  TempDir dir;
  std::vector<double> margin = testsupport::evenLstar(21, 95, 5);
  const double wiggle[] = {0.03, -0.04, 0.02, 0.05, -0.03, 0.01, -0.02, 0.04, -0.05, 0.02, 0.03,
                           -0.01, 0.04, -0.03, 0.02, -0.04, 0.05, -0.02, 0.01, 0.03, -0.05};
  for (size_t k = 0; k < margin.size(); ++k) margin[k] += wiggle[k];
  // The paper's margin read before paper white.
  margin.insert(margin.begin(), margin.front() + 0.11);
  struct Row {
    std::string name;
    std::vector<double> Ls;
    std::string question;  // as the JSON gives it
    std::vector<std::vector<std::string>> choices;  // the options that open the file as each choice says
  };
  const Row rows[] = {
      {"margin.txt", margin,
       R"("question":{"text":"cannot read margin.txt: line 10: reading 2 repeats reading 1 (L* 95.14 and 95.03) )"
       R"(where the steps around them are far apart: the paper's margin read as a patch, or a patch read twice? )"
       R"(take one of the two out of the file, or say `--steps 22` if they are two steps","choices":[{"label":)"
       R"("a 22-step wedge measured once","steps":22,"layout":null}]})",
       {{"--steps", "22"}}},
      {"flat.txt", flatPrintReadSixTimes(),
       R"("question":{"text":"cannot read flat.txt: 66 readings could be a 66-step wedge measured once or an )"
       R"(11-step wedge measured 6 times, each step's readings together; say which with `--steps 66` or )"
       R"(`--steps 11`","choices":[{"label":"a 66-step wedge measured once","steps":66,"layout":null},)"
       R"({"label":"an 11-step wedge measured 6 times, each step's readings together","steps":11,"layout":null}]})",
       {{"--steps", "66"}, {"--steps", "11"}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string text = testsupport::cgatsWedge(row.Ls);
    const auto file = dir.write(row.name, text);
    WebDocument page;
    const std::string asked = page.openMeasurements(row.name, text);
    EXPECT_NE(asked.find(row.question), std::string::npos) << asked;
    EXPECT_NE(asked.find(R"("measurementFile":null)"), std::string::npos);
    EXPECT_NE(asked.find(R"("readings":[])"), std::string::npos);
    // The command's own words, the path being the name.
    auto said = testsupport::runInkcurve({"linearize", file.string()});
    EXPECT_EQ(said.status, 1);
    auto errors = messagesOf(platform::text::replaceAll(said.err, file.string(), row.name));
    EXPECT_EQ(texts(listed(asked, "errors")), errors);

    for (const auto& options : row.choices) {
      const std::string opened = page.openMeasurements(row.name, text, std::stoll(options[1]));
      EXPECT_NE(opened.find(R"("question":null)"), std::string::npos);
      std::vector<std::string> args{"linearize", file.string()};
      args.insert(args.end(), options.begin(), options.end());
      said = testsupport::runInkcurve(args);
      ASSERT_EQ(said.status, 0) << said.err;
      auto summary = linesOf(platform::text::replaceAll(said.out, file.string(), row.name));
      summary.pop_back();
      EXPECT_EQ(listed(opened, "summary"), summary);
    }
  }
  // A layout said that the readings do not fit is refused in the command's words.
  WebDocument page;
  const std::string passes = page.openMeasurements("flat.txt", testsupport::cgatsWedge(flatPrintReadSixTimes()), 20,
                                                   "passes");
  EXPECT_EQ(listed(passes, "errors").back(),
            "measurements: cannot read flat.txt: `--steps 20 --layout passes` does not fit 66 readings: they are not "
            "a whole number of readings for each of 20 steps");
}

// A change the document cannot take is refused with the command's words and
// leaves everything as it was: a file that is not text, an empty file, a
// file of another type, a .quad that is not one, a reading or a setting out
// of range or not a number, notes a .quad could not be read back with.
TEST(WebDocument, ARefusedChangeLeavesTheDocumentAsItWas) {
  const std::string wedge = slurp(kExamples / "wedge-21.txt");
  const std::string quad = slurp(kExamples / "pt-pd-8ch.quad");
  std::string longNotes;
  for (int i = 0; i < 60; ++i) longNotes += "line " + std::to_string(i) + "\n";
  constexpr double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  struct Row {
    std::string name;
    std::function<void(WebDocument&)> change;
    std::vector<std::string> errors;  // "about: text"
  };
  const std::string failedToLoad =
      "measurements: Failed to Load Measurement Data: Please check the measurement data format and load data again.";
  const Row rows[] = {
      {"not UTF-8", [&](WebDocument& d) { d.openMeasurements("bad.txt", "L*\ta*\tb*\n9\xff.0\t0\t0\n"); },
       {failedToLoad, "measurements: cannot read bad.txt: line 2: not valid UTF-8 text"}},
      {"empty", [&](WebDocument& d) { d.openMeasurements("folder/empty.csv", ""); },
       {failedToLoad, "measurements: cannot read empty.csv: the first line names no measurement file format this "
                      "program reads; it reads CGATS, Argyll CTI3 (.ti3), its own measurement files, Tallyframe "
                      "(GRAY), Ribbonmeter (Patch), SpyderPrint, QTR-Linearize-Data, QTR-Create-ICC and Density "
                      "files, and tables whose header row names an L* or a density column, such as \"L*,a*,b*\" "
                      "or \"Sample;L*;a*;b*\""}},
      {"another type", [&](WebDocument& d) { d.openMeasurements("wedge.pdf", wedge); },
       {"measurements: wedge.pdf: expected a file of type .txt, .csv, .ti3"}},
      {"steps", [&](WebDocument& d) { d.openMeasurements("wedge.txt", wedge, 1); },
       {"measurements: --steps needs a whole number of steps, 2 or more, not \"1\""}},
      {"a .quad that is not one", [&](WebDocument& d) { d.openQuad("wedge.quad", wedge); },
       {"quad: wedge.quad is not a QuadToneRIP ink curve file this program can read: line 1 is not one of the "
        "QuadToneRIP headers this program reads"}},
      {"a .quad not UTF-8", [&](WebDocument& d) { d.openQuad("latin.quad", "## QuadToneRIP K\n# caf\xe9\n"); },
       {"quad: cannot read latin.quad: line 2: not valid UTF-8 text"}},
      {"L* not a number", [&](WebDocument& d) { d.typeReading(3, nan, 0, 0); },
       {"reading: L* must be a number from 0 to 100, not 'nan'"}},
      {"step and b* out of range", [&](WebDocument& d) { d.typeReading(22, 50, 0, -inf); },
       {"reading: step 22 is not one of the readings' steps, 1 to 21",
        "reading: b* must be a number from -128 to 127, not '-inf'"}},
      {"smoothing 101", [&](WebDocument& d) { d.setSettings(101, 20, std::nullopt); },
       {"settings: --smoothing must be a number from 0 to 100, not '101'"}},
      {"spline not a number", [&](WebDocument& d) { d.setSettings(std::nullopt, nan, std::nullopt); },
       {"settings: --spline must be a number from 0 to 100, not 'nan'"}},
      {"notes too long", [&](WebDocument& d) { d.setSettings(50, std::nullopt, longNotes); },
       {"settings: --notes would make a .quad file that cannot be read back: the notes have 61 lines, but a .quad "
        "file has room for 51; a reader takes the line after them for the first channel's marker"}},
  };
  WebDocument page;
  page.openMeasurements("wedge-21.txt", wedge);
  const std::string before = page.openQuad("pt-pd-8ch.quad", quad);
  const auto quadBefore = page.download("quad");
  ASSERT_TRUE(quadBefore);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    row.change(page);
    const std::string after = page.state();
    EXPECT_EQ(listed(after, "errors"), row.errors);
    EXPECT_EQ(withoutErrors(after), withoutErrors(before));
    EXPECT_EQ(page.download("quad")->bytes, quadBefore->bytes);
  }
  // The next change that is taken clears the errors.
  EXPECT_TRUE(listed(page.setSettings(33, 33, std::nullopt), "errors").empty());
}

// The graphs are SVG documents of the figure --plot draws, none before there
// is anything to draw; hiding a channel leaves it out of the ink graph. A
// reading typed over is marked and changes the curves; revert() opens the
// readings again as they were. The document counts the bytes it holds.
TEST(WebDocument, GraphsTypedReadingsAndRevert) {
  const std::string wedge = slurp(kExamples / "wedge-21.txt");
  const std::string quad = slurp(kExamples / "pt-pd-8ch.quad");
  WebDocument page;
  const std::string empty = page.state();
  EXPECT_EQ(empty,
            R"({"measurementFile":null,"quadFile":null,"summary":[],"warnings":[],"errors":[],"question":null,)"
            R"("readings":[],"smoothing":33,"spline":33,"targetPoints":"0,100 100,0","undo":false,"redo":false,)"
            R"("channels":[],"notes":"","downloads":{"quad":null,)"
            R"("acv":null,"cube":null,"xml":null,"measurements":null,"page":null}})");
  EXPECT_EQ(page.graphSvg(WebDocument::Graph::measurements), "");
  EXPECT_FALSE(page.download("acv"));
  const size_t heldEmpty = page.bytesHeld();

  page.openQuad("pt-pd-8ch.quad", quad);
  // A .quad alone: its channels, nothing corrected, nothing drawn.
  EXPECT_NE(page.state().find(R"("channels":["K","LK","LLK"])"), std::string::npos) << page.state();
  EXPECT_EQ(page.graphSvg(WebDocument::Graph::inkCurves), "");
  const std::string opened = page.openMeasurements("wedge-21.txt", wedge);
  EXPECT_GT(page.bytesHeld(), heldEmpty + wedge.size() + quad.size());

  // The same drawing, whichever Cairo surface it was (Cairo numbers them
  // all in the document's one group).
  const auto same = [](std::string x, std::string y) {
    for (std::string* svg : {&x, &y}) {
      const auto at = svg->find("<g id=\"surface");
      if (at != std::string::npos) svg->erase(at, svg->find('>', at) - at);
    }
    return x == y;
  };
  const auto isSvg = [](const std::string& svg) {
    return svg.starts_with("<?xml") && svg.find("<svg") != std::string::npos &&
           svg.find("</svg>") != std::string::npos && svg.find("width=\"800px\" height=\"1000px\"") != std::string::npos;
  };
  const std::string measurements = page.graphSvg(WebDocument::Graph::measurements);
  const std::string ink = page.graphSvg(WebDocument::Graph::inkCurves);
  EXPECT_TRUE(isSvg(measurements)) << measurements.substr(0, 300);
  EXPECT_TRUE(isSvg(ink));
  const std::string withoutK = page.graphSvg(WebDocument::Graph::inkCurves, {"K"});
  EXPECT_TRUE(isSvg(withoutK));
  EXPECT_FALSE(same(withoutK, ink));
  // A name that is no channel hides nothing.
  EXPECT_TRUE(same(page.graphSvg(WebDocument::Graph::inkCurves, {"Q"}), ink));
  EXPECT_TRUE(same(page.graphSvg(WebDocument::Graph::measurements), measurements));

  const std::string typed = page.typeReading(11, 40, 0.8, 4);
  EXPECT_NE(typed.find(R"({"step":11,"L":40,"a":0.8,"b":4,"density":0.9488098866621542,"samples":null,)"
                       R"("typed":true})"),
            std::string::npos)
      << typed;
  // L* 40 where the neighbours are 39.63 and 30.17: the smoothed readings climb back.
  EXPECT_EQ(listed(typed, "warnings"),
            std::vector<std::string>{"correction: the correction turns back between input 38% and 39% (it maps 38% "
                                     "to 45.4% and 39% to 47.4%): the smoothed readings climb back there, and the "
                                     "corrected curves run backwards; look at the readings there (--plot) and "
                                     "measure again"});
  EXPECT_EQ(listed(typed, "summary").size(), 5u);
  size_t typedCount = 0;
  for (size_t at = typed.find("\"typed\":true"); at != std::string::npos; at = typed.find("\"typed\":true", at + 1))
    ++typedCount;
  EXPECT_EQ(typedCount, 1u);
  EXPECT_FALSE(same(page.graphSvg(WebDocument::Graph::measurements), measurements));
  const auto correctedBefore = page.download("quad");

  EXPECT_EQ(page.revert(), opened);
  EXPECT_TRUE(same(page.graphSvg(WebDocument::Graph::measurements), measurements));
  EXPECT_TRUE(same(page.graphSvg(WebDocument::Graph::inkCurves), ink));
  EXPECT_NE(page.download("quad")->bytes, correctedBefore->bytes);
}

// A .quad whose own notes fill the comment lines can be saved corrected, but
// not beside the XML curves, whose _ref.quad adds a line: the page says so as
// the command does, and offers no .zip; notes given instead make it whole.
TEST(WebDocument, OwnNotesThatCannotGoIntoTheReferenceQuad) {
  TempDir dir;
  std::vector<std::string> comments;
  for (int i = 0; i < 51; ++i) comments.push_back("# note " + std::to_string(i));
  const std::string quad = testsupport::quadFileText("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK",
                                                     testsupport::eightChannelMarkers(),
                                                     [](int c, int i) { return c == 0 ? 200.0 * i : 0.0; }, comments);
  const std::string wedge = slurp(kExamples / "wedge-21.txt");
  const auto quadFile = dir.write("full.quad", quad);
  const auto said = testsupport::runInkcurve({"linearize", (kExamples / "wedge-21.txt").string(), quadFile.string(),
                                              "--xml-dir", (dir / "full-xml").string()});
  EXPECT_EQ(said.status, 1);
  WebDocument page;
  page.openMeasurements("wedge-21.txt", wedge);
  const std::string state = page.openQuad("full.quad", quad);
  EXPECT_EQ(texts(listed(state, "warnings")),
            messagesOf(platform::text::replaceAll(said.err, quadFile.string(), "full.quad")));
  EXPECT_NE(state.find(R"("quad":"full-corrected.quad")"), std::string::npos);
  EXPECT_NE(state.find(R"("xml":null)"), std::string::npos);
  EXPECT_FALSE(page.download("xml"));
  EXPECT_TRUE(page.download("quad"));
  const std::string given = page.setSettings(std::nullopt, std::nullopt, "one line");
  EXPECT_TRUE(listed(given, "warnings").empty());
  EXPECT_NE(given.find(R"("xml":"full-xml.zip")"), std::string::npos);
  EXPECT_TRUE(page.download("xml"));
}

// JSON strings and numbers as the state writes them.
TEST(WebDocument, JsonTexts) {
  const std::pair<std::string, std::string> strings[] = {
      {"wedge-21.txt", R"("wedge-21.txt")"},
      {"say \"which\" \\ here", R"("say \"which\" \\ here")"},
      {"two\nlines\tand\r\x01\x1f\x7f", R"("two\nlines\tand\r\u0001\u001f\u007f")"},
      {"caf\xc3\xa9 \xe2\x80\x94 ok", "\"caf\xc3\xa9 \xe2\x80\x94 ok\""},
      {"caf\xe9.txt", R"("caf\\xE9.txt")"},
      {"cut \xe2\x80", R"("cut \\xE2\\x80")"},
      {std::string("nul\0here", 8), R"("nul\u0000here")"},
  };
  for (const auto& [text, json] : strings) EXPECT_EQ(cli::jsonString(text), json) << json;
  const std::pair<double, std::string> numbers[] = {
      {33, "33"}, {94.8, "94.8"}, {-0.0, "0"}, {1e-7, "1e-07"}, {2.0 / 3, "0.6666666666666666"},
      {std::numeric_limits<double>::quiet_NaN(), "null"}, {-std::numeric_limits<double>::infinity(), "null"},
  };
  for (const auto& [value, json] : numbers) EXPECT_EQ(cli::jsonNumber(value), json);
  cli::JsonWriter json;
  json.beginObject().key("a").beginArray().integer(1).null().boolean(false).endArray();
  json.key("b").beginObject().endObject().key("c").string("x").endObject();
  EXPECT_EQ(json.text(), R"({"a":[1,null,false],"b":{},"c":"x"})");
}

// Undo and redo walk the page's changes back and forth (a slider's drag, sent
// as moves that go on from its first, is one change; a new change ends what
// can be redone), and a page saved and opened again on another page gives
// the same state and the same .quad; a damaged or foreign saved page is
// refused with its reason and changes nothing.
TEST(WebDocument, UndoRedoAndASavedPage) {
  const std::string wedge = slurp(kExamples / "wedge-21.txt");
  const std::string quad = slurp(kExamples / "pt-pd-8ch.quad");
  const auto field = [](const std::string& state, const std::string& key) {
    const std::smatch m = [&] {
      std::smatch found;
      std::regex_search(state, found, std::regex("\"" + key + "\":(\"[^\"]*\"|[^,}]*)"));
      return found;
    }();
    return m.empty() ? std::string("?") : m[1].str();
  };
  // The page as a user sees it: its files, settings, target and typed steps.
  const auto seen = [&](const std::string& state) {
    return field(state, "measurementFile") + " " + field(state, "quadFile") + " " + field(state, "smoothing") + " " +
           field(state, "targetPoints") + " typed " +
           (state.find("\"typed\":true") != std::string::npos ? "yes" : "no");
  };
  WebDocument page;
  page.openMeasurements("wedge-21.txt", wedge);
  page.openQuad("pt-pd-8ch.quad", quad);
  page.setSettings(50, std::nullopt, std::nullopt);
  page.setSettings(60, std::nullopt, std::nullopt, true);
  page.setSettings(70, std::nullopt, std::nullopt, true);
  page.typeReading(3, 79.5, 0.5, 2.7);
  const std::string last = page.setTargetPoints("0,100 50,62 100,0");
  const std::string lastQuad = page.download("quad")->bytes;

  struct Step {
    std::function<std::string()> act;
    std::string seen;  // what the page shows after it
  };
  const std::string both = R"("wedge-21.txt" "pt-pd-8ch.quad" )";
  const std::vector<Step> steps{
      {[&] { return page.undo(); }, both + R"(70 "0,100 100,0" typed yes)"},
      {[&] { return page.undo(); }, both + R"(70 "0,100 100,0" typed no)"},
      {[&] { return page.undo(); }, both + R"(33 "0,100 100,0" typed no)"},  // the whole drag
      {[&] { return page.undo(); }, R"("wedge-21.txt" null 33 "0,100 100,0" typed no)"},
      {[&] { return page.undo(); }, R"(null null 33 "0,100 100,0" typed no)"},
      {[&] { return page.undo(); }, R"(null null 33 "0,100 100,0" typed no)"},  // nothing more to undo
      {[&] { return page.redo(); }, R"("wedge-21.txt" null 33 "0,100 100,0" typed no)"},
      {[&] { return page.redo(); }, both + R"(33 "0,100 100,0" typed no)"},
      {[&] { return page.redo(); }, both + R"(70 "0,100 100,0" typed no)"},
      {[&] { return page.redo(); }, both + R"(70 "0,100 100,0" typed yes)"},
      {[&] { return page.redo(); }, both + R"(70 "0,100 50,62 100,0" typed yes)"},
      {[&] { return page.redo(); }, both + R"(70 "0,100 50,62 100,0" typed yes)"},  // nothing more to redo
  };
  for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(seen(steps[i].act()), steps[i].seen) << "step " << i;
  EXPECT_EQ(listed(page.state(), "errors"), std::vector<std::string>{"history: there is nothing to redo"});
  EXPECT_EQ(page.download("quad")->bytes, lastQuad) << "redone, the .quad is the one before undo";

  // Saved, and opened on another page: the same page and the same .quad.
  const auto saved = page.download("page");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->fileName, "wedge-21-page.json");
  WebDocument other;
  const std::string opened = other.loadPage(saved->bytes);
  EXPECT_EQ(seen(opened), seen(last));
  EXPECT_EQ(listed(opened, "summary"), listed(last, "summary"));
  EXPECT_EQ(other.download("quad")->bytes, lastQuad);
  EXPECT_EQ(other.download("page")->bytes, saved->bytes);

  // Damaged or foreign saved pages: refused, nothing changed.
  const std::string whole = saved->bytes;
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = whole;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::vector<std::pair<std::string, std::string>> refused{
      {whole.substr(0, whole.size() / 2), "is not a whole JSON string of UTF-8 text"},
      {R"({"name":"wedge.txt"})", "it holds \"name\""},
      {R"({"inkcurve":"other 1"})", "it does not begin as one"},
      {replaced("\"measurementBytes\":\"", "\"measurementBytes\":\"*"), "\"measurementBytes\" is not base64"},
      {replaced("wedge-21.txt", "wedge-21.exe"), "wedge-21.exe: expected a file of type .txt, .csv, .ti3"},
      {replaced("\"smoothing\":70", "\"smoothing\":170"), "\"smoothing\" must be a number from 0 to 100"},
      {replaced("50,62", "150,62"), "\"targetPoints\": "},
      {replaced("\"typed\":\"3 ", "\"typed\":\"3 x"), "a typed reading is not \"step L* a* b*\": \"3 x79.5 0.5 2.7\""},
      {replaced("\"smoothing\"", "\"edits\":\"OR||1|5\",\"smoothing\""),
       "the edits name OR, a channel the .quad does not have"},
  };
  // The editor's edits of the .quad ride along, checked against its channels.
  EXPECT_FALSE(other.editsLoaded());
  other.loadPage(replaced("\"smoothing\"", "\"edits\":\"k||1.3|0\",\"smoothing\""));
  EXPECT_EQ(other.editsLoaded(), "k||1.3|0");
  const std::string before = other.state();
  // Target points the page should not have sent: refused in the command's
  // words, nothing changed, nothing to undo.
  for (const auto& [points, why] : std::vector<std::pair<std::string, std::string>>{
           {"0,100 50,101 100,0", "settings: --target-points: point 2 \"50,101\": y must lie within 0...100"},
           {"0,100 60,50 40,40 100,0", "settings: --target-points: point 3 \"40,40\""},
           {"0,100 nan,3 100,0", "settings: --target-points: point 2 \"nan,3\""}}) {
    WebDocument fresh;
    fresh.openMeasurements("wedge-21.txt", wedge);
    const std::string state = fresh.setTargetPoints(points);
    const auto errors = listed(state, "errors");
    ASSERT_EQ(errors.size(), 1u) << points;
    EXPECT_TRUE(errors[0].starts_with(why)) << errors[0];
    EXPECT_EQ(field(state, "targetPoints"), R"("0,100 100,0")");
    EXPECT_EQ(listed(fresh.undo(), "summary"), std::vector<std::string>{}) << "undo goes back to before the file";
  }
  for (const auto& [text, why] : refused) {
    const std::string state = other.loadPage(text);
    const auto errors = listed(state, "errors");
    ASSERT_EQ(errors.size(), 1u) << why;
    EXPECT_TRUE(errors[0].starts_with("page: the file is not a page saved by inkcurve serve: ")) << errors[0];
    EXPECT_NE(errors[0].find(why), std::string::npos) << errors[0];
    EXPECT_EQ(seen(state), seen(before));
    EXPECT_EQ(other.download("quad")->bytes, lastQuad);
  }
}

// A page that opens file after file keeps only as much of the files it
// replaced as its history may hold: the oldest go, the last can be undone,
// and what is held is counted.
TEST(WebDocument, TheHistoryHoldsFilesToItsLimit) {
  const std::string quad = slurp(kExamples / "pt-pd-8ch.quad");
  WebDocument one, page(4 * quad.size() + 100);
  one.openQuad("q.quad", quad);
  for (int i = 0; i < 12; ++i) page.openQuad("q" + std::to_string(i) + ".quad", quad + "\n# copy " + std::to_string(i));
  EXPECT_GE(page.bytesHeld(), one.bytesHeld() + 4 * quad.size());
  EXPECT_LT(page.bytesHeld(), one.bytesHeld() + 6 * quad.size()) << "twelve files opened: one open, four to undo";
  std::vector<std::string> undone;
  for (std::string state = page.undo(); listed(state, "errors").empty(); state = page.undo())
    undone.push_back(state.substr(state.find("\"quadFile\":"), 25));
  EXPECT_EQ(undone, (std::vector<std::string>{R"("quadFile":"q10.quad","su)", R"("quadFile":"q9.quad","sum)",
                                              R"("quadFile":"q8.quad","sum)", R"("quadFile":"q7.quad","sum)"}));
}

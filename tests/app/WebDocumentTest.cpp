#include <gtest/gtest.h>

#include <zip.h>

#include <filesystem>
#include <map>
#include <optional>
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

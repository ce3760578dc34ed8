#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>

#include "RunCli.h"
#include "WebEditor.h"
#include "support/FakeHost.h"

namespace {

using cli::WebEditor;
using testsupport::slurp;

const std::filesystem::path kExamples(INKCURVE_EXAMPLES);

WebEditor::Source source(const std::string& name, const std::string& bytes) {
  return {name, std::make_shared<const std::string>(bytes)};
}

// The JSON value of `key` in a state, as written (a string without its quotes).
std::string field(const std::string& state, const std::string& key) {
  const auto at = state.find("\"" + key + "\":");
  if (at == std::string::npos) return "<no " + key + ">";
  size_t from = at + key.size() + 3;
  if (state[from] == '"') {
    std::string text;
    for (size_t i = from + 1; i < state.size() && state[i] != '"'; ++i) text += state[i] == '\\' ? state[++i] : state[i];
    return text;
  }
  if (state[from] == '[') return state.substr(from, state.find(']', from) - from + 1);
  return state.substr(from, state.find_first_of(",}", from) - from);
}

// Changes one after another on the example .quad: each accepted one saves,
// byte for byte, what `inkcurve edit` writes run once for each edited
// channel with its edits; each refused one names the bad value in the
// command's words and changes nothing.
TEST(WebEditor, SavesWhatTheCommandWritesAndRefusesWhatItRefuses) {
  using Change = WebEditor::Change;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Row {
    Change change;
    std::string error;                                // empty: accepted
    std::vector<std::vector<std::string>> runs;       // `edit` options, one run per edited channel
  };
  const std::vector<std::string> k1{"--channel", "K", "--gamma", "1.2"};
  const std::vector<std::string> k2{"--channel", "K", "--points", "0,0 50,40 100,100", "--gamma", "1.2"};
  const std::vector<std::string> k3{"--channel", "K", "--points", "0,0 50,40 100,100", "--gamma", "1.2",
                                    "--boost", "20"};
  const std::vector<std::string> lk{"--channel", "LK", "--boost", "-12.5"};
  const std::vector<Row> rows = {
      {{{}, "K", {}, 1.2, {}}, "", {k1}},
      // Written loosely, kept as the command reads it.
      {{{}, {}, " 0,0  50.0,40 100,100 "}, "", {k2}},
      {{{}, {}, "0,0 50,140 100,100"}, "--points: point 2 \"50,140\": y must lie within 0...100", {k2}},
      {{{}, {}, "0,0 60,40 50,50 100,100"}, "--points: point 3 \"50,50\": x must be above the x of point 2 (60)",
       {k2}},
      {{{}, {}, "0,0 50,50"}, "--points: point 2 \"50,50\": the last point must be at x 100, where the curve ends",
       {k2}},
      {{{}, {}, {}, 0.0}, "--gamma must be above 0, not '0'", {k2}},
      {{{}, {}, {}, nan}, "--gamma must be above 0, not 'nan'", {k2}},
      // A bad boost with a good gamma: neither is taken.
      {{{}, {}, {}, 2.0, -100.0}, "--boost must be above -100 (a boost of -100% or less removes the ink), not '-100'",
       {k2}},
      {{{}, "Q", {}, 2.0}, "--channel Q: pt-pd-8ch.quad has no such channel (it has K, C, M, Y, LC, LM, LK, LLK)",
       {k2}},
      {{"starter"}, "there is no starter curve yet: make one on the Starter curves screen", {k2}},
      {{"both"}, "the source must be \"quad\" or \"starter\", not \"both\"", {k2}},
      {{{}, {}, {}, {}, 20.0}, "", {k3}},
      // Another channel, named as --channel takes it: both edits saved.
      {{{}, "lk", {}, {}, -12.5}, "", {k3, lk}},
      // K's edits taken back one by one: the channel left as read.
      {{{}, "K", "", 1.0, 0.0}, "", {lk}},
  };
  testsupport::TempDir dir;
  const std::string quad = (kExamples / "pt-pd-8ch.quad").string();
  WebEditor editor;
  editor.offer(source("pt-pd-8ch.quad", slurp(quad)), std::nullopt);
  for (const auto& row : rows) {
    const std::string before = editor.state();
    std::string error;
    const auto state = editor.change(row.change, error);
    if (!row.error.empty()) {
      EXPECT_FALSE(state) << row.error;
      EXPECT_EQ(error, row.error);
      EXPECT_EQ(editor.state(), before) << row.error;
      continue;
    }
    ASSERT_TRUE(state) << error;
    std::string in = quad, said;
    for (size_t i = 0; i < row.runs.size(); ++i) {
      const std::string out = (dir / ("run" + std::to_string(i) + ".quad")).string();
      std::vector<std::string> args{"edit", in};
      args.insert(args.end(), row.runs[i].begin(), row.runs[i].end());
      args.insert(args.end(), {"--out", out});
      const auto run = testsupport::runInkcurve(args);
      ASSERT_EQ(run.status, 0) << run.err;
      said += run.err;
      in = out;
    }
    const auto saved = editor.download();
    ASSERT_TRUE(saved) << *state;
    EXPECT_EQ(saved->fileName, "pt-pd-8ch-edited.quad");
    EXPECT_TRUE(saved->bytes == slurp(in)) << row.runs.back()[1];
    // The clamping the command warned of, in its words.
    EXPECT_EQ(said.empty(), field(*state, "warnings") == "[]") << said << *state;
  }
  const std::string state = editor.state();
  EXPECT_EQ(field(state, "channel"), "K");
  EXPECT_EQ(field(state, "edited"), "[\"LK\"]");
  EXPECT_EQ(field(state, "summary"), "[\"edited: LK of pt-pd-8ch.quad: --boost -12.5\"]");
  EXPECT_EQ(field(state, "channels"), "[\"K\",\"LK\",\"LLK\",\"C\",\"M\",\"Y\",\"LC\",\"LM\"]");
}

// Undo and redo step through the edits, a drag that goes on being one step
// and a change of channel none; each undo shows the channel it changed. A
// new file ends the edits and the history; with no file there is nothing to
// edit, and a file that is not a .quad says why.
TEST(WebEditor, UndoesEachEditAndForgetsThemWithTheFile) {
  using Change = WebEditor::Change;
  WebEditor editor;
  const std::string quad = slurp(kExamples / "pt-pd-8ch.quad");
  editor.offer(source("pt-pd-8ch.quad", quad), std::nullopt);
  struct Row {
    std::string action;  // "change", "undo" or "redo"
    Change change;
    std::string expected;  // channel points gamma boost undo redo
  };
  const std::vector<Row> rows = {
      {"change", {{}, {}, "0,0 30,10 100,64"}, "K 0,0 30,10 100,64 1 0 true false"},
      {"change", {{}, {}, "0,0 30,12 100,64", {}, {}, true}, "K 0,0 30,12 100,64 1 0 true false"},
      {"change", {{}, {}, "0,0 31,14 100,64", {}, {}, true}, "K 0,0 31,14 100,64 1 0 true false"},
      {"change", {{}, {}, {}, 1.1}, "K 0,0 31,14 100,64 1.1 0 true false"},
      // A slider that goes on moving: one step.
      {"change", {{}, {}, {}, 1.3, {}, true}, "K 0,0 31,14 100,64 1.3 0 true false"},
      {"change", {{}, "LLK"}, "LLK  1 0 true false"},
      {"change", {{}, {}, {}, {}, 5.0}, "LLK  1 5 true false"},
      {"undo", {}, "LLK  1 0 true true"},
      {"undo", {}, "K 0,0 31,14 100,64 1 0 true true"},
      {"undo", {}, "K  1 0 false true"},
      {"undo", {}, "K  1 0 false true"},
      {"redo", {}, "K 0,0 31,14 100,64 1 0 true true"},
      {"redo", {}, "K 0,0 31,14 100,64 1.3 0 true true"},
      // A new edit ends what could be redone; a change to what is already so is none.
      {"change", {{}, {}, {}, 0.8}, "K 0,0 31,14 100,64 0.8 0 true false"},
      {"change", {{}, {}, {}, 0.8}, "K 0,0 31,14 100,64 0.8 0 true false"},
      {"undo", {}, "K 0,0 31,14 100,64 1.3 0 true true"},
  };
  for (const auto& row : rows) {
    std::string error, state;
    if (row.action == "undo") state = editor.undo();
    if (row.action == "redo") state = editor.redo();
    if (row.action == "change") state = editor.change(row.change, error).value_or(error);
    std::string seen = field(state, "channel") + " " + field(state, "points") + " " + field(state, "gamma") + " " +
                       field(state, "boost") + " " + field(state, "undo") + " " + field(state, "redo");
    EXPECT_EQ(seen, row.expected) << row.action;
  }
  // The graph is edit --plot's, drawn once for the edits as they stand.
  const std::string svg = editor.graphSvg();
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_EQ(editor.graphSvg(), svg);
  const size_t held = editor.bytesHeld();
  EXPECT_GE(held, quad.size() + svg.size());

  // The same file offered again keeps everything; the starter curve beside
  // it is a second source.
  editor.offer(source("pt-pd-8ch.quad", quad), source("s.quad", quad));
  EXPECT_EQ(field(editor.state(), "undo"), "true");
  EXPECT_EQ(field(editor.state(), "sources"), "[\"quad\",\"starter\"]");
  std::string error;
  ASSERT_TRUE(editor.change({"starter", "LK", {}, {}, 3.0}, error)) << error;
  EXPECT_EQ(field(editor.state(), "download"), "s-edited.quad");
  EXPECT_EQ(field(editor.state(), "file"), "s.quad");
  // Another .quad: its edits and the history go.
  editor.offer(source("other.quad", quad), source("s.quad", quad));
  std::string state = editor.state();
  EXPECT_EQ(field(state, "undo") + field(state, "redo") + field(state, "edited"), "falsefalse[\"LK\"]");
  ASSERT_TRUE(editor.change({"quad"}, error)) << error;
  EXPECT_EQ(field(editor.state(), "edited") + field(editor.state(), "download"), "[]null");

  editor.offer(source("w.quad", "hello\n"), std::nullopt);
  state = editor.state();
  EXPECT_EQ(field(state, "message"),
            "w.quad is not a QuadToneRIP ink curve file this program can read: line 1 is not one of the "
            "QuadToneRIP headers this program reads");
  EXPECT_FALSE(editor.change({{}, {}, {}, 2.0}, error));
  EXPECT_EQ(error, field(state, "message"));
  editor.offer(std::nullopt, std::nullopt);
  state = editor.state();
  EXPECT_EQ(field(state, "message"), "Open a .quad on the Linearize screen or make a starter curve first.");
  EXPECT_FALSE(editor.change({{}, {}, {}, 2.0}, error));
  EXPECT_EQ(error, "Open a .quad on the Linearize screen or make a starter curve first.");
  EXPECT_EQ(editor.graphSvg(), "");
  EXPECT_FALSE(editor.download());
}

}  // namespace

// A saved page holds the edits of the .quad's channels: made again on
// another page they save the same file, as one change to undo; edits that
// are not such, or name a channel the file lacks, are refused whole.
TEST(WebEditor, EditsOfASavedPage) {
  const std::string quad = slurp(kExamples / "pt-pd-8ch.quad");
  WebEditor editor;
  editor.offer(source("pt-pd-8ch.quad", quad), std::nullopt);
  std::string error;
  ASSERT_TRUE(editor.change({{}, "K", "0,0 50,40 100,100", 1.2, {}}, error)) << error;
  ASSERT_TRUE(editor.change({{}, "LK", {}, {}, -12.5}, error)) << error;
  const std::string saved = editor.savedEdits();
  EXPECT_EQ(saved, "K|0,0 50,40 100,100|1.2|0; LK||1|-12.5");

  WebEditor other;
  other.offer(source("pt-pd-8ch.quad", quad), std::nullopt);
  ASSERT_TRUE(other.restoreEdits(saved, error)) << error;
  EXPECT_EQ(other.download()->bytes, editor.download()->bytes);
  EXPECT_EQ(field(other.undo(), "edited"), "[]") << "one change, undone whole";

  const std::vector<std::string> channels{"K", "C", "M", "Y", "LC", "LM", "LK", "LLK"};
  const std::vector<std::pair<std::string, std::string>> refused{
      {"K|0,0 50,40 100,100|1.2", "the edits \"K|0,0 50,40 100,100|1.2\": not \"channel|points|gamma|boost\""},
      {"K||0|0", "the edits \"K||0|0\": the gamma must be a number above 0, not 0"},
      {"K|0,0 50,140 100,100|1|0", "the edits \"K|0,0 50,140 100,100|1|0\": point 2 \"50,140\": "
                                   "y must lie within 0...100"},
      {"K||1|5; K||1|6", "the edits \"K||1|6\": the channel is given twice"},
      {"OR||1|5", "the edits name OR, a channel the .quad does not have"},
  };
  for (const auto& [text, why] : refused) {
    EXPECT_EQ(cli::savedEditsError(text, channels).value_or("accepted"), why);
    EXPECT_FALSE(other.restoreEdits(text, error));
    EXPECT_EQ(field(other.state(), "edited"), "[]") << text;
  }
}

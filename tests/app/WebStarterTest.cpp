#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "RunCli.h"
#include "WebStarter.h"
#include "platform/text/Text.h"
#include "serve/FlatJson.h"
#include "support/FakeHost.h"

namespace {

using cli::WebStarter;
using cli::serve::jsonString;

// One change after another on the same screen: a refused change names the
// choice in the command's words and leaves the curve as it was; an accepted
// one shows the summary and warnings `inkcurve starter` prints for the same
// choices and saves the file it writes, byte for byte.
TEST(WebStarter, BuildsWhatTheCommandBuildsAndRefusesWhatItRefuses) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  struct Row {
    WebStarter::Change change;
    std::string error;                // empty: accepted
    std::vector<std::string> args;    // the command's options for the curve now
    std::string fileName;
  };
  const std::vector<std::string> standard{"--printer", "x800-x880", "--process", "Standard Starter Curve"};
  const std::vector<std::string> piezo{"--printer", "P700/P900", "--process", "HLV-PiezoPro", "--ink-limit", "60",
                                       "--yellow", "-99", "--total-ink", "0.3"};
  const std::vector<Row> rows = {
      {{}, "", standard, "x800-x880-standard-starter-curve.quad"},
      // Levels past 65535: written clamped, with the command's warning.
      {{"P700/P900", "HLV-PiezoPro", 60, -99, 0.3}, "", piezo, "p700-p900-hlv-piezopro.quad"},
      {{{}, {}, -100, {}, {}}, "--ink-limit must be above -100 (a boost of -100% or less removes the ink), not '-100'",
       piezo, ""},
      {{{}, {}, inf, {}, {}}, "--ink-limit needs a number, not 'inf'", piezo, ""},
      {{{}, {}, {}, 2.5, {}}, "--yellow needs a whole number, not '2.5'", piezo, ""},
      {{{}, {}, {}, 1e300, {}}, "--yellow needs a whole number, not '1e+300'", piezo, ""},
      {{{}, {}, {}, -100, {}},
       "--yellow must be above -100 (the boost's law has no value at -100 and turns back below it), not '-100'", piezo,
       ""},
      {{{}, {}, {}, {}, nan}, "--total-ink needs a number, not 'nan'", piezo, ""},
      {{{}, {}, {}, {}, -1}, "--total-ink must be above -1 (a factor of -1 or less leaves no ink), not '-1'", piezo, ""},
      {{"P900", {}, {}, {}, {}}, "unknown printer model 'P900' (see inkcurve starter --list)", piezo, ""},
      // A good boost with a bad title: neither is taken.
      {{{}, "Platinum", 5, {}, {}}, "unknown process 'Platinum' (see inkcurve starter --list)", piezo, ""},
      {{"P5000/P7000/P9000", "Carbon Transfer", 12.5, 0, 0.07}, "",
       {"--printer", "P5000/P7000/P9000", "--process", "Carbon Transfer", "--ink-limit", "12.5", "--total-ink", "0.07"},
       "p5000-p7000-p9000-carbon-transfer.quad"},
      // A boost back at 0 is not given; one that leaves channels without ink is named.
      {{{}, {}, 0, {}, -0.999999999}, "",
       {"--printer", "P5000/P7000/P9000", "--process", "Carbon Transfer", "--total-ink", "-0.999999999"},
       "p5000-p7000-p9000-carbon-transfer.quad"},
  };
  testsupport::TempDir dir;
  WebStarter screen;
  for (const auto& row : rows) {
    const std::string before = screen.state();
    std::string error;
    const auto state = screen.change(row.change, error);
    const std::string what = platform::text::join(row.args, " ");
    if (!row.error.empty()) {
      EXPECT_FALSE(state) << row.error;
      EXPECT_EQ(error, row.error);
      EXPECT_EQ(screen.state(), before) << row.error;
      continue;
    }
    ASSERT_TRUE(state) << error;
    std::vector<std::string> args{"starter"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    args.insert(args.end(), {"--out", (dir / "c.quad").string()});
    const auto run = testsupport::runInkcurve(args);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto printed = platform::text::split(run.out, "\n");
    EXPECT_NE(state->find("\"summary\":" + jsonString(printed[0]) + ","), std::string::npos) << *state;
    std::string warnings;
    for (const auto& line : platform::text::split(run.err, "\n"))
      if (!line.empty()) warnings += (warnings.empty() ? "" : ",") + jsonString(line.substr(19));
    EXPECT_NE(state->find("\"warnings\":[" + warnings + "]"), std::string::npos) << what << "\n" << *state;
    EXPECT_NE(state->find("\"download\":\"" + row.fileName + "\""), std::string::npos) << *state;
    const auto saved = screen.download();
    ASSERT_TRUE(saved) << what;
    EXPECT_EQ(saved->fileName, row.fileName);
    EXPECT_TRUE(saved->bytes == testsupport::slurp(dir / "c.quad")) << what;
  }
  // The last row warned of the channels it emptied.
  EXPECT_NE(screen.state().find("\"warnings\":[\"--total-ink -0.999999999 leaves no ink in"), std::string::npos)
      << screen.state();

  // The graph is the command's plot, drawn once and counted in what the screen holds.
  const size_t small = screen.bytesHeld();
  const std::string svg = screen.graphSvg();
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_EQ(screen.graphSvg(), svg);
  EXPECT_GE(screen.bytesHeld(), small + svg.size());
}

}  // namespace

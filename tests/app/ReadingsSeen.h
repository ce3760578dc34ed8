#pragma once

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "RunCli.h"
#include "linearization/QuadDataFile.h"

namespace testsupport {

// What the user reads of a run on a measurement file: its status, the
// summary line (or the reason the file was not read) and the warnings about
// the file, without the program's name and the file's.
struct Seen {
  int status = 0;
  std::string summary;
  std::vector<std::string> warnings;
};

inline Seen seen(const CliRun& r, const std::string& file) {
  Seen s{r.status, "", {}};
  std::istringstream out(r.out), err(r.err);
  for (std::string line; std::getline(out, line);)
    if (line.starts_with("readings: ")) s.summary = line;
  const std::string cannot = "inkcurve: cannot read " + file + ": ", warning = "inkcurve: warning: " + file + ": ";
  for (std::string line; std::getline(err, line);) {
    if (line.starts_with(cannot)) s.summary = line.substr(cannot.size());
    if (line.starts_with(warning)) s.warnings.push_back(line.substr(warning.size()));
  }
  return s;
}

// The ink curves of a .quad file; none where it cannot be read.
inline std::vector<linearization::InkCurve> curvesOf(const std::filesystem::path& path) {
  auto quad = linearization::QuadDataFile::fromFile(path);
  if (!quad || !quad->readQuadFile(quad->rawQuadData)) return {};
  return *quad->inputQuadCurveArray;
}

// How far apart two sets of ink curves lie, in levels, at the most.
inline double levelsApart(const std::vector<linearization::InkCurve>& x, const std::vector<linearization::InkCurve>& y) {
  if (x.empty() || x.size() != y.size()) return INFINITY;
  double most = 0;
  for (std::size_t c = 0; c < x.size(); ++c)
    for (std::size_t i = 0; i < x[c].size(); ++i) most = std::max(most, std::fabs(x[c][i] - y[c][i]));
  return most;
}

}  // namespace testsupport

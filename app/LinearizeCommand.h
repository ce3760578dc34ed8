#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// inkcurve linearize MEASUREMENTS [QUAD] [options]
int runLinearize(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string linearizeUsage();

}  // namespace cli

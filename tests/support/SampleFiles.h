#pragma once

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// A TAB-separated CGATS file of one reading per step, L* from `Ls`, a* and b*
// small constants. Written as a spectrophotometer program would.
std::string cgatsWedge(const std::vector<double>& Ls);

// L* of `steps` patches falling evenly from `from` to `to`.
std::vector<double> evenLstar(int steps, double from, double to);

// A .quad text with the given header and markers; level i of channel c is
// `level(c, i)`.
std::string quadFileText(const std::string& header, const std::vector<std::string>& markers,
                         const std::function<double(int channel, int step)>& level,
                         const std::vector<std::string>& comments = {"# test curve"});

// The 8-channel K,C,M,Y,LC,LM,LK,LLK markers.
const std::vector<std::string>& eightChannelMarkers();

// An eight-channel .quad whose K, Y and LK rise in straight ramps (the others
// empty): a correction shows in every level of them.
std::string rampedQuadText();

}  // namespace testsupport

#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "linearization/QuadDataFile.h"

namespace cli {

// The warnings of `inkcurve linearize` for values it accepts but that make no
// sense in print. Each goes to `err` as "inkcurve: warning: ..." lines.

// A channel's short name: "# K Curve" gives "K", and "# lk curve" "LK".
std::string channelLabel(std::string marker);

// Levels of the loaded .quad outside 0...65535.
void warnAboutLevelsOutOfRange(const std::string& path, const std::vector<linearization::InkCurve>& channels,
                               const std::vector<std::string>& markers, std::ostream& err);

// A Dmax that is not a finite number: the darkest reading has no density.
void warnAboutDmax(double dmax, double darkestL, std::ostream& err);

// Readings that fall less than 5 L* from paper white to the darkest step: a
// printed wedge falls far more, blank paper or a misread file hardly at all.
void warnAboutShallowFall(double paperWhiteL, double darkestL, std::ostream& err);

// A correction curve that turns back: it should fall from 100 % at input 0
// to 0 % at the last input, and maps some later input to a higher value than
// an earlier one (where the smoothed readings climb back), so that the
// corrected curves run backwards there. Names the first such stretch.
void warnAboutTurnedBackCorrection(const std::vector<double>& correction, std::ostream& err);

// Channels that held ink and keep less than a tenth of it after correction.
void warnAboutEmptiedChannels(const std::vector<linearization::InkCurve>& before,
                              const std::vector<linearization::InkCurve>& after,
                              const std::vector<std::string>& markers, std::ostream& err);

}  // namespace cli

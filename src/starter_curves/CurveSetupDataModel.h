#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/host/Host.h"
#include "starter_curves/MainBoost.h"
#include "starter_curves/StarterCurve.h"
#include "starter_curves/YellowBoost.h"
#include "starter_curves/totalInkLoadBoost.h"

namespace starter_curves {

// The printer-model titles the setup screen offers, and its process titles.
// Any other printer-model title is an 8-ink printer; any other process title
// gets the family's standard curve.
const std::vector<std::string>& printerModelTitles();
const std::vector<std::string>& processTitles();

// The model of the starter-curve setup screen: picks the ink set and the
// starter table from the printer-model and process titles and runs the three
// boosts over the table. The boosted curve is always recomputed from the
// table, so boosts never accumulate.
class CurveSetupDataModel final {
 public:
  // Makes the starter curve and the boosts and runs setupStarterCurve(). The
  // printer-model title and the yellow-boost amount are logged through `host`,
  // which must outlive the model.
  explicit CurveSetupDataModel(platform::Host& host);

  std::shared_ptr<StarterCurve> starterCurve;
  std::shared_ptr<MainBoost> boost;
  std::shared_ptr<YellowBoost> yellowBoost;
  std::shared_ptr<totalInkLoadBoost> totalInkBoost;

  // Boosts the current table without choosing one (when the screen is made).
  void setupStarterCurve();
  // Chooses the ink set and the table, then boosts (after every change).
  void updateStarterCurve();
  // The ink set of `printerModelSetting`.
  void setInkFamily();
  // The table of `printerModelSetting` and `processSetting`.
  void selectStarterCurve();
  void select10InkStarterCurve();
  void select8InkStarterCurve();
  void selectP700StarterCurve();

 private:
  void boostCurrentStarterCurve();

  platform::Host& host_;
};

}  // namespace starter_curves

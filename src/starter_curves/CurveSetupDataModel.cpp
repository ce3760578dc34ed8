#include "starter_curves/CurveSetupDataModel.h"

namespace starter_curves {
namespace {

const std::string kOrGrPrinters[] = {"P5000/P7000/P9000", "4900/7900/9900"};
const std::string kVMkPrinter = "P700/P900";

bool isOrGrPrinter(const std::string& title) { return title == kOrGrPrinters[0] || title == kOrGrPrinters[1]; }

}  // namespace

const std::vector<std::string>& printerModelTitles() {
  static const std::vector<std::string> titles{"x800-x880",         "P600/P800",      "P4000/P6000/P8000",
                                               "P5000/P7000/P9000", "4900/7900/9900", "P700/P900"};
  return titles;
}

const std::vector<std::string>& processTitles() {
  static const std::vector<std::string> titles{"Standard Starter Curve", "Traditional Cyanotype", "Carbon Transfer",
                                               "Lodima Grade 2",         "Ilford MG Classic",     "HLV-PiezoPro"};
  return titles;
}

CurveSetupDataModel::CurveSetupDataModel(platform::Host& host)
    : starterCurve(std::make_shared<StarterCurve>()),
      boost(std::make_shared<MainBoost>()),
      yellowBoost(std::make_shared<YellowBoost>(&host)),
      totalInkBoost(std::make_shared<totalInkLoadBoost>()),
      host_(host) {
  setupStarterCurve();
}

void CurveSetupDataModel::setupStarterCurve() {
  setInkFamily();
  boostCurrentStarterCurve();
}

void CurveSetupDataModel::updateStarterCurve() {
  setInkFamily();
  selectStarterCurve();
  boostCurrentStarterCurve();
}

void CurveSetupDataModel::setInkFamily() {
  StarterCurve& sc = *starterCurve;
  if (isOrGrPrinter(sc.printerModelSetting)) {
    sc.numInks = 10;
    sc.currentHeaderInfo = sc.headerInfoFor10Ink;
    sc.currentInkList = sc.inkListFor10Ink;
  } else if (sc.printerModelSetting == kVMkPrinter) {
    sc.numInks = 10;
    sc.currentHeaderInfo = sc.headerInfoForPro10Ink;
    sc.currentInkList = sc.inkListForPro10Ink;
  } else {
    sc.numInks = 8;
    sc.currentHeaderInfo = sc.headerInfoFor8Ink;
    sc.currentInkList = sc.inkListFor8Ink;
  }
}

void CurveSetupDataModel::selectStarterCurve() {
  const std::string& printer = starterCurve->printerModelSetting;
  host_.log(printer);
  if (isOrGrPrinter(printer)) {
    select10InkStarterCurve();
  } else if (printer == kVMkPrinter) {
    selectP700StarterCurve();
  } else {
    select8InkStarterCurve();
  }
}

void CurveSetupDataModel::select10InkStarterCurve() {
  StarterCurve& sc = *starterCurve;
  const std::string& p = sc.processSetting;
  if (p == "Traditional Cyanotype") {
    sc.currentStarterCurve = sc.k10TradCyanotype;
  } else if (p == "Carbon Transfer") {
    sc.currentStarterCurve = sc.k10SCarbon;
  } else if (p == "Lodima Grade 2") {
    sc.currentStarterCurve = sc.k10LodimaG2;
  } else if (p == "Ilford MG Classic") {
    sc.currentStarterCurve = sc.k10IlfordMGClassic;
  } else if (p == "HLV-PiezoPro") {
    // The family has ten marker lines; the PiezoPro table gets its OR and GR
    // channels here, all 0, like every other table of the family.
    sc.currentStarterCurve = sc.k10PzPro;
  } else {
    sc.currentStarterCurve = sc.k10Standard;
  }
}

void CurveSetupDataModel::select8InkStarterCurve() {
  StarterCurve& sc = *starterCurve;
  const std::string& p = sc.processSetting;
  if (p == "Traditional Cyanotype") {
    sc.currentStarterCurve = sc.k8TradCyanotype;
  } else if (p == "Carbon Transfer") {
    sc.currentStarterCurve = sc.k8Carbon;
  } else if (p == "Lodima Grade 2") {
    sc.currentStarterCurve = sc.k8LodimaG2;
  } else if (p == "Ilford MG Classic") {
    sc.currentStarterCurve = sc.k8IlfordMGClassic;
  } else if (p == "HLV-PiezoPro") {
    sc.currentStarterCurve = sc.k8PzPro;
  } else {
    sc.currentStarterCurve = sc.k8Standard;
  }
}

void CurveSetupDataModel::selectP700StarterCurve() {
  StarterCurve& sc = *starterCurve;
  const std::string& p = sc.processSetting;
  if (p == "Traditional Cyanotype") {
    sc.currentStarterCurve = sc.p700Cyanotype;
  } else if (p == "Lodima Grade 2") {
    sc.currentStarterCurve = sc.P700LodimaG2;
  } else if (p == "Ilford MG Classic") {
    sc.currentStarterCurve = sc.p700IlfordMG;
  } else {
    // Standard, Carbon Transfer, HLV-PiezoPro and any other process.
    sc.currentStarterCurve = sc.p700Standard;
  }
}

void CurveSetupDataModel::boostCurrentStarterCurve() {
  StarterCurve& sc = *starterCurve;
  boost->inputInksArray = sc.currentStarterCurve;
  boost->boost = boost->boostInput;
  boost->calculateInkSumBoost();
  boost->applyBoost();
  sc.currentStarterCurveWithBoostSetting = boost->outputInksArray;

  // Y is channel 3 in every ink set; every table has it with 256 levels.
  constexpr size_t kYellow = 3;
  auto& boosted = sc.currentStarterCurveWithBoostSetting;
  if (boosted.size() > kYellow && boosted[kYellow].size() >= 256) {
    yellowBoost->ogYellowInkLimit = boosted[kYellow][255];
    yellowBoost->inputStarterCurveToBoost = boosted[kYellow];
    yellowBoost->boost = static_cast<double>(yellowBoost->boostYellowInput);
    yellowBoost->calculateInkSumBoost();
    yellowBoost->applyBoost();
    boosted[kYellow] = yellowBoost->boostedInksArray;
  }

  totalInkBoost->inputStarterCurveToBoost = boosted;
  totalInkBoost->applyBoost();
  sc.currentStarterCurveWithBoostSetting = totalInkBoost->boostedInksArray;
}

}  // namespace starter_curves

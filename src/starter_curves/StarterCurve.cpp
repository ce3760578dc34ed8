#include "starter_curves/StarterCurve.h"

namespace starter_curves {

StarterCurve::StarterCurve()
    : k8Standard(starterCurveTables().k8Standard),
      k10Standard(starterCurveTables().k10Standard),
      k8Carbon(starterCurveTables().k8Carbon),
      k10SCarbon(starterCurveTables().k10SCarbon),
      k8TradCyanotype(starterCurveTables().k8TradCyanotype),
      k8LodimaG2(starterCurveTables().k8LodimaG2),
      k8IlfordMGClassic(starterCurveTables().k8IlfordMGClassic),
      k10LodimaG2(starterCurveTables().k10LodimaG2),
      k10TradCyanotype(starterCurveTables().k10TradCyanotype),
      k10IlfordMGClassic(starterCurveTables().k10IlfordMGClassic),
      k8PzPro(starterCurveTables().k8PzPro),
      p700Standard(starterCurveTables().p700Standard),
      p700Cyanotype(starterCurveTables().p700Cyanotype),
      P700LodimaG2(starterCurveTables().P700LodimaG2),
      p700IlfordMG(starterCurveTables().p700IlfordMG),
      k10PzPro(starterCurveTables().k10PzPro) {
  currentStarterCurve = k8Standard;
  currentHeaderInfo = headerInfoFor8Ink;
  currentInkList = inkListFor8Ink;
}

}  // namespace starter_curves

#pragma once

// The starter-curve tables by name, in declaration order, with the number of
// channels each holds; shared by the table tests and the plot tool.

#include <cstddef>

#include "starter_curves/StarterCurve.h"

namespace starter_curves {

using Table = InkCurves StarterCurveTables::*;

struct CatalogueEntry {
  const char* name;
  Table table;
  std::size_t channels;
};

inline const CatalogueEntry kCatalogue[] = {
    {"k8Standard", &StarterCurveTables::k8Standard, 8},
    {"k10Standard", &StarterCurveTables::k10Standard, 10},
    {"k8Carbon", &StarterCurveTables::k8Carbon, 8},
    {"k10SCarbon", &StarterCurveTables::k10SCarbon, 10},
    {"k8TradCyanotype", &StarterCurveTables::k8TradCyanotype, 8},
    {"k8LodimaG2", &StarterCurveTables::k8LodimaG2, 8},
    {"k8IlfordMGClassic", &StarterCurveTables::k8IlfordMGClassic, 8},
    {"k10LodimaG2", &StarterCurveTables::k10LodimaG2, 10},
    {"k10TradCyanotype", &StarterCurveTables::k10TradCyanotype, 10},
    {"k10IlfordMGClassic", &StarterCurveTables::k10IlfordMGClassic, 10},
    {"k8PzPro", &StarterCurveTables::k8PzPro, 8},
    {"p700Standard", &StarterCurveTables::p700Standard, 10},
    {"p700Cyanotype", &StarterCurveTables::p700Cyanotype, 10},
    {"P700LodimaG2", &StarterCurveTables::P700LodimaG2, 10},
    {"p700IlfordMG", &StarterCurveTables::p700IlfordMG, 10},
};

inline const InkCurves& get(Table t) { return starterCurveTables().*t; }

}  // namespace starter_curves

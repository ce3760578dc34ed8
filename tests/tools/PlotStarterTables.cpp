// Writes every starter-curve table as a CSV file and an SVG plot (level
// against input step, one line per channel) into the folder given, so the
// curves can be looked at. Not a test: it checks nothing.
//
//   plot_starter_tables FOLDER

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "starter_curves/StarterCurveCatalogue.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: plot_starter_tables FOLDER\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::cerr << "plot_starter_tables: cannot make " << dir << ": " << error.message() << "\n";
    return 1;
  }
  const char* colours[] = {"black", "cyan", "magenta", "gold", "lightblue", "pink", "gray", "silver", "orange", "green"};
  for (const auto& e : starter_curves::kCatalogue) {
    const auto& t = starter_curves::get(e.table);
    std::ofstream csv(dir / (std::string(e.name) + ".csv"));
    std::ofstream svg(dir / (std::string(e.name) + ".svg"));
    csv << "step";
    for (size_t c = 0; c < t.size(); ++c) csv << ",ch" << c;
    csv << "\n";
    for (int s = 0; s < 256; ++s) {
      csv << s;
      for (const auto& ch : t) csv << "," << ch[s];
      csv << "\n";
    }
    svg << "<svg xmlns='http://www.w3.org/2000/svg' width='820' height='520'>"
        << "<rect width='820' height='520' fill='white'/>"
        << "<text x='20' y='20' font-size='16'>" << e.name << "</text>"
        << "<rect x='30' y='30' width='765' height='460' fill='none' stroke='#ccc'/>";
    for (size_t c = 0; c < t.size(); ++c) {
      svg << "<polyline fill='none' stroke-width='1.5' stroke='" << colours[c] << "' points='";
      for (int s = 0; s < 256; ++s) svg << 30 + s * 3 << "," << 490 - t[c][s] / 65535.0 * 460 << " ";
      svg << "'/>";
    }
    svg << "</svg>\n";
    if (!csv || !svg) {
      std::cerr << "plot_starter_tables: cannot write the files of " << e.name << " in " << dir << "\n";
      return 1;
    }
  }
  std::cout << "wrote " << std::size(starter_curves::kCatalogue) << " tables to " << dir << "\n";
  return 0;
}

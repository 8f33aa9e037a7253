// Writes the methane gas-property tables as CSV: generate_methane_tables OUT.csv
#include <cstdio>
#include <exception>
#include <fstream>

#include "methane_eos.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT.csv\n", argv[0]);
    return 2;
  }
  try {
    const std::string csv = velaron::methane::TablesCsv();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << csv;
    out.close();
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", argv[1]);
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

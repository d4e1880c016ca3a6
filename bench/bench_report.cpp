#include "bench_report.h"

#include <cstdio>

void ReportFigure(const std::string& figure, double ours, double floor, const std::string& unit) {
  std::printf("FIGURE\t%s\t%.6g\t%.6g\t%s\n", figure.c_str(), ours, floor, unit.c_str());
  std::fflush(stdout);
}

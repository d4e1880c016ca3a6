#include "bench_report.h"

#include <cstdio>

namespace {

std::string GoalText(const Goal& goal) {
  char limit[32];
  std::snprintf(limit, sizeof limit, "%g", goal.limit);
  switch (goal.kind) {
    case Goal::Kind::RatioAtMost: return std::string("ratio<=") + limit;
    case Goal::Kind::AboveFloorAtMost: return std::string("diff<=") + limit;
    case Goal::Kind::AtMost: return std::string("abs<=") + limit;
    case Goal::Kind::Below: return std::string("abs<") + limit;
    case Goal::Kind::None: break;
  }
  return "-";
}

const char* Met(const Goal& goal, double ours, double floor) {
  switch (goal.kind) {
    case Goal::Kind::RatioAtMost: return ours <= goal.limit * floor ? "yes" : "no";
    case Goal::Kind::AboveFloorAtMost: return ours - floor <= goal.limit ? "yes" : "no";
    case Goal::Kind::AtMost: return ours <= goal.limit ? "yes" : "no";
    case Goal::Kind::Below: return ours < goal.limit ? "yes" : "no";
    case Goal::Kind::None: break;
  }
  return "?";
}

}  // namespace

void ReportFigure(const std::string& figure, double ours, double floor, const std::string& unit, Goal goal) {
  char ratio[32] = "-";
  if (floor > 0) std::snprintf(ratio, sizeof ratio, "%.2f", ours / floor);
  std::printf("FIGURE\t%s\t%.6g\t%.6g\t%s\t%s\t%s\t%s\n", figure.c_str(), ours, floor, ratio, unit.c_str(),
              GoalText(goal).c_str(), Met(goal, ours, floor));
  std::fflush(stdout);
}

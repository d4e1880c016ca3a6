// One line per figure, read by bench.sh to print the table. Each figure carries its goal.
#pragma once
#include <string>

// What a figure must meet: a ratio against its floor (a floor of 0 allows only 0), a difference
// from it, or an absolute limit where it has none.
struct Goal {
  enum class Kind { None, RatioAtMost, AboveFloorAtMost, AtMost, Below };
  Kind kind = Kind::None;
  double limit = 0;
  static Goal RatioAtMost(double limit) { return {Kind::RatioAtMost, limit}; }
  static Goal AboveFloorAtMost(double limit) { return {Kind::AboveFloorAtMost, limit}; }
  static Goal AtMost(double limit) { return {Kind::AtMost, limit}; }
  static Goal Below(double limit) { return {Kind::Below, limit}; }
};

// Prints "FIGURE\tfigure\tours\tfloor\tratio\tunit\tgoal\tmet". A floor of 0 means the figure
// has no floor (then its goal is an absolute limit); met is "?" for a figure without a goal.
void ReportFigure(const std::string& figure, double ours, double floor, const std::string& unit, Goal goal);

// One line per figure, read by bench.sh to print the table.
#pragma once
#include <string>

// Prints "figure\tours\tfloor\tunit". A floor of 0 means the figure has no floor (an absolute goal).
void ReportFigure(const std::string& figure, double ours, double floor, const std::string& unit);

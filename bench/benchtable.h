#pragma once

// One row of the table that `make bench` prints at its end: a figure a player
// feels, the reference it is measured against in the same run, their ratio
// and the target the figure has to meet. Every benchmark that measures a
// target prints its rows with printTableRow; scripts/bench-table.sh gathers
// the lines that start with "@row|" from all of them.

#include <cstdio>
#include <string>

namespace benchtable {

struct Row
{
    std::string figure;     // what is measured, e.g. "tile click to watchers, p50"
    double value = 0;       // the figure, in unit
    double reference = 0;   // the reference, in the same unit (0 when there is none)
    std::string unit;       // "ms", "MB", "msg/s", ...
    std::string target;     // the target in words, e.g. "<= 2 ms" or "ratio <= 2"
    bool met = false;       // whether the figure meets the target
    double ratio = 0;       // when > 0, the ratio measured pair by pair instead of value / reference
};

inline void printTableRow(const Row &row)
{
    const double ratio = row.ratio > 0 ? row.ratio : row.reference > 0 ? row.value / row.reference : 0;
    std::printf("@row|%s|%.4g %s|%.4g %s|%.3g|%s|%s\n", row.figure.c_str(), row.value,
                row.unit.c_str(), row.reference, row.unit.c_str(), ratio, row.target.c_str(),
                row.met ? "met" : "NOT met");
    std::fflush(stdout);
}

} // namespace benchtable

// Timing by median of repetitions, and the table of figures the benchmark prints.
#pragma once

#include <functional>
#include <string>
#include <vector>

using BenchStep = std::function<void()>;

// One timed piece of work; setup runs before each repetition and is not timed.
struct BenchWork {
    BenchStep setup;
    BenchStep work;
};

double NowMs();

// Median milliseconds of reps repetitions.
double MedianMs(const BenchWork& work, int reps);

// Several pieces of work in turn in each repetition; the median of each, in their order.
std::vector<double> MediansInTurn(const std::vector<BenchWork>& works, int reps);

struct BenchPair {
    double value;
    double baseline;
};
// The work and its baseline, one after the other in each repetition, so that both see the same
// state of the machine; the median of each.
BenchPair MedianPair(const BenchWork& work, const BenchWork& baseline, int reps);

struct BenchRow {
    std::string figure;
    double value = 0.0;
    std::string baselineName;  // empty: the figure has no baseline
    double baseline = 0.0;
    std::string unit;          // "ms" or "MB"
    double target = 0.0;       // largest ratio allowed; 0: no target
    std::string note;          // why a figure could not be measured, when it could not
};

class BenchTable {
public:
    void Add(const BenchRow& row) { rows.push_back(row); }
    // A figure that could not be measured, with the reason.
    void Fail(const std::string& figure, const std::string& why);
    void Print() const;
    bool WriteCsv(const std::string& path) const;
    int TargetCount() const;
    int Missed() const;

    std::vector<BenchRow> rows;
};

// Timing by median of repetitions, and the printed and CSV forms of the table.
#include "BenchTable.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr double SlowPairMs = 5000.0;
constexpr int SlowPairReps = 3;

double Median(std::vector<double> samples) {
    if (samples.empty()) return 0.0;
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    return n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2.0;
}

double TimeOnce(const BenchWork& work) {
    if (work.setup) work.setup();
    double start = NowMs();
    work.work();
    return NowMs() - start;
}

bool HasRatio(const BenchRow& row) { return !row.baselineName.empty() && row.baseline > 0.0 && row.note.empty(); }

double Ratio(const BenchRow& row) { return HasRatio(row) ? row.value / row.baseline : 0.0; }

const char* Verdict(const BenchRow& row) {
    if (!row.note.empty()) return "n/a";
    if (row.target <= 0.0) return "-";
    if (!HasRatio(row)) return "n/a";
    return Ratio(row) <= row.target ? "ok" : "miss";
}

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string ValueText(double value, const std::string& unit) {
    return Format(unit == "MB" ? "%.1f" : value < 10.0 ? "%.2f" : "%.1f", value) + " " + unit;
}

// CSV field: quoted when it holds a comma or a quote.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double MedianMs(const BenchWork& work, int reps) {
    std::vector<double> samples;
    for (int i = 0; i < reps; ++i) samples.push_back(TimeOnce(work));
    return Median(samples);
}

std::vector<double> MediansInTurn(const std::vector<BenchWork>& works, int reps) {
    std::vector<std::vector<double>> samples(works.size());
    for (int i = 0; i < reps; ++i) {
        for (size_t k = 0; k < works.size(); ++k) samples[k].push_back(TimeOnce(works[k]));
    }
    std::vector<double> medians;
    for (const std::vector<double>& s : samples) medians.push_back(Median(s));
    return medians;
}

BenchPair MedianPair(const BenchWork& work, const BenchWork& baseline, int reps) {
    std::vector<double> values, baselines;
    for (int i = 0; i < reps; ++i) {
        baselines.push_back(TimeOnce(baseline));
        values.push_back(TimeOnce(work));
        // A figure of many seconds is plain enough from three repetitions.
        if (i == 0 && values[0] + baselines[0] > SlowPairMs && reps > SlowPairReps) reps = SlowPairReps;
    }
    return {Median(values), Median(baselines)};
}

void BenchTable::Fail(const std::string& figure, const std::string& why) {
    BenchRow row;
    row.figure = figure;
    row.note = why;
    rows.push_back(row);
}

void BenchTable::Print() const {
    size_t figureWidth = 6, baselineWidth = 8;
    for (const BenchRow& row : rows) {
        figureWidth = std::max(figureWidth, row.figure.size());
        baselineWidth = std::max(baselineWidth, row.baselineName.size() + 12);
    }
    int fw = static_cast<int>(figureWidth), bw = static_cast<int>(baselineWidth);
    std::printf("%-*s  %11s  %-*s  %7s  %7s  %s\n", fw, "figure", "value", bw, "baseline", "ratio", "target",
                "result");
    std::printf("%s\n", std::string(figureWidth + baselineWidth + 50, '-').c_str());
    for (const BenchRow& row : rows) {
        if (!row.note.empty()) {
            std::printf("%-*s  %11s  %-*s  %7s  %7s  n/a: %s\n", fw, row.figure.c_str(), "-", bw, "-", "-", "-",
                        row.note.c_str());
            continue;
        }
        std::string baseline = row.baselineName.empty()
                                   ? std::string("-")
                                   : ValueText(row.baseline, row.unit) + " " + row.baselineName;
        std::string ratio = HasRatio(row) ? Format("%.2f", Ratio(row)) : "-";
        std::string target = row.target > 0.0 ? "<= " + Format("%.2f", row.target) : "-";
        std::printf("%-*s  %11s  %-*s  %7s  %7s  %s\n", fw, row.figure.c_str(),
                    ValueText(row.value, row.unit).c_str(), bw, baseline.c_str(), ratio.c_str(), target.c_str(),
                    Verdict(row));
    }
    std::printf("%d of %d targets met\n", TargetCount() - Missed(), TargetCount());
    std::fflush(stdout);
}

bool BenchTable::WriteCsv(const std::string& path) const {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return false;
    std::fprintf(file, "figure,value,unit,baseline,baseline value,ratio,target,result,note\n");
    for (const BenchRow& row : rows) {
        std::string value = row.note.empty() ? Format("%.3f", row.value) : "";
        std::string baselineValue = HasRatio(row) ? Format("%.3f", row.baseline) : "";
        std::string ratio = HasRatio(row) ? Format("%.3f", Ratio(row)) : "";
        std::string target = row.target > 0.0 ? Format("%.3f", row.target) : "";
        std::fprintf(file, "%s,%s,%s,%s,%s,%s,%s,%s,%s\n", CsvField(row.figure).c_str(), value.c_str(),
                     row.unit.c_str(), CsvField(row.baselineName).c_str(), baselineValue.c_str(), ratio.c_str(),
                     target.c_str(), Verdict(row), CsvField(row.note).c_str());
    }
    return std::fclose(file) == 0;
}

int BenchTable::TargetCount() const {
    int count = 0;
    for (const BenchRow& row : rows) count += row.target > 0.0 ? 1 : 0;
    return count;
}

int BenchTable::Missed() const {
    int missed = 0;
    for (const BenchRow& row : rows) {
        std::string verdict = Verdict(row);
        if (row.target > 0.0 && verdict != "ok") ++missed;
    }
    return missed;
}

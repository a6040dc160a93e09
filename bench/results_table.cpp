#include "bench/results_table.h"

#include <cstdio>
#include <iomanip>
#include <sstream>

namespace bench {
namespace {

std::string number(double value, Unit unit) {
    std::ostringstream out;
    const int digits = value < 10 ? 2 : (value < 100 ? 1 : 0);
    out << std::fixed << std::setprecision(digits) << value
        << (unit == Unit::Milliseconds ? " ms" : " MB");
    return out.str();
}

std::string ratio(double value) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(value < 10 ? 2 : 1) << value << "x";
    return out.str();
}

std::optional<double> lookUp(const std::map<std::string, double>& figures,
                             const std::string& name) {
    const auto it = figures.find(name);
    return it == figures.end() ? std::nullopt : std::optional<double>(it->second);
}

struct Cells {
    std::string size, what, ours, baseline, ratio, target, met;
};

Cells cellsFor(const Comparison& line, const std::map<std::string, double>& figures) {
    const std::optional<double> ours = lookUp(figures, line.ours);
    // No benchmark has an empty name: a line without a baseline finds none.
    const std::optional<double> base = lookUp(figures, line.baseline);
    Cells cells{line.size, line.what, ours ? number(*ours, line.unit) : "n/a", "-", "-", "-", "-"};
    if (!line.baseline.empty()) {
        cells.baseline = base ? number(*base, line.unit) : "n/a";
    }
    std::optional<double> quotient;
    if (ours && base && *base > 0) {
        quotient = *ours / *base;
        cells.ratio = ratio(*quotient);
    }
    std::string target;
    bool met = true;
    if (line.limit) {
        target = "< " + number(*line.limit, line.unit);
        met = met && ours && *ours < *line.limit;
    }
    if (line.ratioLimit) {
        target += (target.empty() ? "" : ", ") + std::string("<= ") + ratio(*line.ratioLimit);
        met = met && quotient && *quotient <= *line.ratioLimit;
    }
    if (!target.empty()) {
        cells.target = target;
        cells.met = met ? "yes" : "MISSED";
    }
    return cells;
}

// Display width of UTF-8 text: ASCII only here, so bytes.
void pad(std::ostringstream& out, const std::string& text, std::size_t width) {
    out << text << std::string(width > text.size() ? width - text.size() : 0, ' ');
}

} // namespace

std::string formatTable(const std::vector<Comparison>& lines,
                        const std::map<std::string, double>& figures) {
    std::vector<Cells> rows{
        {"Size", "Measurement (median)", "Ours", "Baseline", "Ours/Base", "Target", "Met"}};
    for (const Comparison& line : lines) {
        // A line none of whose benchmarks ran (a filtered run) says nothing.
        if (lookUp(figures, line.ours) || lookUp(figures, line.baseline)) {
            rows.push_back(cellsFor(line, figures));
        }
    }
    std::vector<std::size_t> widths(7, 0);
    for (const Cells& row : rows) {
        const std::string* cells[] = {&row.size,  &row.what,   &row.ours, &row.baseline,
                                      &row.ratio, &row.target, &row.met};
        for (std::size_t i = 0; i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], cells[i]->size());
        }
    }
    std::ostringstream out;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Cells& row = rows[r];
        const std::string* cells[] = {&row.size,  &row.what,   &row.ours, &row.baseline,
                                      &row.ratio, &row.target, &row.met};
        for (std::size_t i = 0; i < widths.size(); ++i) {
            pad(out, *cells[i], i + 1 == widths.size() ? 0 : widths[i] + 2);
        }
        out << '\n';
        if (r == 0) {
            std::size_t total = 0;
            for (std::size_t w : widths) {
                total += w + 2;
            }
            out << std::string(total - 2, '-') << '\n';
        }
    }
    return out.str();
}

void ResultsTable::ReportRuns(const std::vector<Run>& runs) {
    // Progress shows the medians (and any failure); the spread is in the JSON output.
    std::vector<Run> shown;
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type == Run::RT_Iteration ||
            run.aggregate_name == "median") {
            shown.push_back(run);
        }
    }
    benchmark::ConsoleReporter::ReportRuns(shown);
    for (const Run& run : runs) {
        if (run.error_occurred) {
            continue;
        }
        std::map<std::string, double> values;
        const std::string name = run.run_name.function_name;
        values[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) *
                       benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond);
        for (const auto& [counter, value] : run.counters) {
            values[name + "#" + counter] = value.value;
        }
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (median || run.run_type == Run::RT_Iteration) {
            for (const auto& [key, value] : values) {
                (median ? medians_ : singles_)[key] = value;
            }
        }
    }
}

std::map<std::string, double> ResultsTable::figures() const {
    std::map<std::string, double> all = singles_;
    for (const auto& [name, value] : medians_) {
        all[name] = value;
    }
    return all;
}

void ResultsTable::Finalize() {
    benchmark::ConsoleReporter::Finalize();
    GetOutputStream() << '\n' << heading_ << '\n' << formatTable(lines_, figures()) << std::flush;
}

} // namespace bench

#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bench {

enum class Unit { Milliseconds, Megabytes };

// One line of the table: a measurement of ours beside its baseline, and what ours should
// stay under, if anything.
struct Comparison {
    std::string size;
    std::string what;
    // Benchmark names; "name#counter" for one of its counters instead of its time.
    std::string ours;
    std::string baseline; // empty: none
    Unit unit = Unit::Milliseconds;
    std::optional<double> limit;      // in the line's unit
    std::optional<double> ratioLimit; // for ours / baseline
};

// The counter a benchmark reports its peak memory in, in megabytes.
inline constexpr const char* kPeakMemoryCounter = "peak_rss_mb";

// The table as text. figures maps names as above to their medians in each line's unit;
// a missing figure prints as "n/a" and fails its target; a line with no figure at all is
// left out.
std::string formatTable(const std::vector<Comparison>& lines,
                        const std::map<std::string, double>& figures);

// Prints what Google Benchmark prints while it runs and collects the medians; the table
// follows once every benchmark has run.
class ResultsTable : public benchmark::ConsoleReporter {
public:
    ResultsTable() : benchmark::ConsoleReporter(OO_None) {}

    void add(Comparison line) { lines_.push_back(std::move(line)); }
    // Printed above the table: the machine and anything else a reader needs to weigh it.
    void setHeading(std::string heading) { heading_ = std::move(heading); }
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;
    // Medians where repetitions gave them; otherwise the one run.
    std::map<std::string, double> figures() const;

private:
    std::vector<Comparison> lines_;
    std::string heading_;
    std::map<std::string, double> medians_;
    std::map<std::string, double> singles_;
};

} // namespace bench

// The table is what the reader of a run sees: ratios, targets and what was missed must be
// right even when a benchmark failed or was filtered out.

#include "bench/results_table.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// The cells of the table's only data line, split on runs of two or more spaces.
std::vector<std::string> dataCells(const std::string& table) {
    std::istringstream lines(table);
    std::string line;
    std::getline(lines, line); // heading
    std::getline(lines, line); // rule
    std::getline(lines, line);
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ' ' && i + 1 < line.size() && line[i + 1] == ' ') {
            if (!cell.empty()) {
                cells.push_back(cell);
                cell.clear();
            }
        } else if (!(line[i] == ' ' && cell.empty())) {
            cell.push_back(line[i]);
        }
    }
    if (!cell.empty()) {
        cells.push_back(cell);
    }
    return cells;
}

struct LineCase {
    const char* name;
    std::optional<double> ours;
    std::optional<double> baseline;
    std::optional<double> limit;
    std::optional<double> ratioLimit;
    bench::Unit unit;
    std::vector<std::string> expected; // ours, baseline, ratio, target, met
};

class TableLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(TableLine, ShowsFiguresRatioAndVerdict) {
    const LineCase& c = GetParam();
    std::map<std::string, double> figures;
    if (c.ours) {
        figures["x/ours"] = *c.ours;
    }
    if (c.baseline) {
        figures["x/baseline"] = *c.baseline;
    }
    const std::string table = bench::formatTable(
        {{"L", "thing", "x/ours", "x/baseline", c.unit, c.limit, c.ratioLimit}}, figures);
    std::vector<std::string> expected{"L", "thing"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(dataCells(table), expected) << table;
}

using bench::Unit;
INSTANTIATE_TEST_SUITE_P(
    Cases, TableLine,
    ::testing::Values(LineCase{"no target",
                               2.5,
                               0.5,
                               {},
                               {},
                               Unit::Milliseconds,
                               {"2.50 ms", "0.50 ms", "5.00x", "-", "-"}},
                      LineCase{"under its limit",
                               4.99,
                               1.0,
                               5.0,
                               {},
                               Unit::Milliseconds,
                               {"4.99 ms", "1.00 ms", "4.99x", "< 5.00 ms", "yes"}},
                      LineCase{"at its limit is over it",
                               5.0,
                               1.0,
                               5.0,
                               {},
                               Unit::Milliseconds,
                               {"5.00 ms", "1.00 ms", "5.00x", "< 5.00 ms", "MISSED"}},
                      LineCase{"fast but too far from the baseline",
                               900,
                               600,
                               1500,
                               1.3,
                               Unit::Milliseconds,
                               {"900 ms", "600 ms", "1.50x", "< 1500 ms, <= 1.30x", "MISSED"}},
                      LineCase{"both targets met",
                               700,
                               600,
                               1500,
                               1.3,
                               Unit::Milliseconds,
                               {"700 ms", "600 ms", "1.17x", "< 1500 ms, <= 1.30x", "yes"}},
                      LineCase{"ours failed",
                               {},
                               600,
                               1500,
                               {},
                               Unit::Milliseconds,
                               {"n/a", "600 ms", "-", "< 1500 ms", "MISSED"}},
                      LineCase{"baseline failed, ratio target",
                               700,
                               {},
                               {},
                               1.3,
                               Unit::Milliseconds,
                               {"700 ms", "n/a", "-", "<= 1.30x", "MISSED"}},
                      LineCase{"megabytes",
                               68.7,
                               44.5,
                               150,
                               {},
                               Unit::Megabytes,
                               {"68.7 MB", "44.5 MB", "1.54x", "< 150 MB", "yes"}}),
    [](const ::testing::TestParamInfo<LineCase>& param) {
        std::string name = param.param.name;
        for (char& ch : name) {
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        }
        return name;
    });

TEST(Table, LeavesOutLinesWhoseBenchmarksDidNotRun) {
    const std::string table = bench::formatTable(
        {{"S", "ran", "a/ours", "a/baseline", bench::Unit::Milliseconds, {}, {}},
         {"S", "filtered out", "b/ours", "b/baseline", bench::Unit::Milliseconds, 5.0, {}}},
        {{"a/ours", 1.0}, {"a/baseline", 0.5}});
    EXPECT_NE(table.find("ran"), std::string::npos);
    EXPECT_EQ(table.find("filtered out"), std::string::npos);
}

} // namespace

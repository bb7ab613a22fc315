#pragma once
// The baseline the purge is measured against: the same end state reached on the same engine
// with one plain statement per table (one DELETE each, one INSERT ... SELECT for the opening
// balances), each committed on its own.
#include <string>
#include <vector>

namespace bench {

struct BaselineStatement {
    int step = 0;
    std::string table;
    long rows = 0;
    double seconds = 0;
};

// Runs the baseline on the database file; throws std::runtime_error when a statement fails.
std::vector<BaselineStatement> RunBaseline(const std::string& dbPath, const std::string& fecha);

}  // namespace bench

#pragma once
// Runs the purge program in batch mode as a child process and reads its result table.
#include <string>
#include <vector>

namespace bench {

struct StepFigures {
    int step = 0;
    std::string table;
    std::string outcome;
    long long rows = 0;  // as the program reports them (deleted, plus balances written)
    double seconds = 0;
};

struct ProgramRun {
    int exitStatus = -1;
    double wallSeconds = 0;
    long peakRssKb = 0;  // maximum resident set size of the child
    std::vector<StepFigures> steps;
    std::string out;
    std::string err;
};

// `program --batch --fiscal-year <year> --yes <parameter string for dbPath>`, with the
// regional settings fixed to day/month/year. Meant to be the only child this process waits
// for, so that the peak memory read afterwards is the program's own.
ProgramRun RunProgram(const std::string& program, const std::string& dbPath,
                      const std::string& fiscalYear);

}  // namespace bench

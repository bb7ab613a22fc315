#pragma once
// The answer of a database file's integrity check.
#include <string>
#include <vector>

namespace adodb {

struct IntegrityReport {
    // False when the engine has nothing a client can check (a server keeps its own files).
    bool checked = false;
    bool ok = true;
    std::vector<std::string> problems;  // the first problems found, as the engine words them
};

}  // namespace adodb

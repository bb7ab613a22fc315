#pragma once
// The program's command line: window mode (the parameter string only) or batch mode
// (--batch with the cut-off and the parameter string), and --help.
#include <optional>
#include <string>
#include <vector>

namespace purge {

struct CommandLineOptions {
    bool help = false;
    bool batch = false;
    std::optional<std::string> fiscalYear;  // --fiscal-year CODE
    std::optional<std::string> date;        // --date DATE
    bool yes = false;                       // --yes
    std::optional<std::string> trace;       // --trace FILE: the statement log (both modes)
    // Indexes into argv of the arguments that make up the start-up parameter string (in
    // batch mode, the one argument that holds it).
    std::vector<int> parameterArgs;
    bool parametersFromStdin = false;  // batch mode: "-" in place of the parameter string
    std::string error;                 // non-empty: the arguments are not acceptable
};

CommandLineOptions ParseCommandLine(int argc, const char* const* argv);

// The --help text, in Spanish.
std::string HelpText(const std::string& program);

}  // namespace purge

#include "startup/command_line.h"

#include <algorithm>
#include <vector>

#include "startup/mod_global.h"
#include "startup/start_parameters.h"

namespace startup {
namespace {

// One argument of the process, where its text starts in the joined command line.
struct Argument {
    char* chars;
    std::size_t length;
    std::size_t offset;
};

struct CommandLine {
    std::string text;
    std::vector<Argument> arguments;  // the process's own strings, blanked in place
};

CommandLine& State() {
    static CommandLine state;
    return state;
}

}  // namespace

void SetCommandLine(int argc, char** argv) {
    CommandLine& cl = State();
    cl.text.clear();
    cl.arguments.clear();
    for (int i = 1; i < argc && argv != nullptr && argv[i] != nullptr; ++i) {
        if (i > 1) cl.text += ' ';
        const std::string arg = argv[i];
        cl.arguments.push_back({argv[i], arg.size(), cl.text.size()});
        cl.text += arg;
    }
}

const std::string& CommandLineText() {
    return State().text;
}

void BlankPasswordInArguments() {
    CommandLine& cl = State();
    const TextRange range = PasswordValueRange(cl.text);
    // The password's characters are taken out of each argument they fall in: the rest of the
    // argument moves over them and the freed end becomes NUL, so the argument as the process
    // list shows it no longer tells how long the password was.
    for (const Argument& arg : cl.arguments) {
        const std::size_t from = std::max(range.begin, arg.offset);
        const std::size_t to = std::min(range.end, arg.offset + arg.length);
        if (from >= to) continue;
        char* chars = arg.chars;
        const std::size_t begin = from - arg.offset;
        const std::size_t end = to - arg.offset;
        std::copy(chars + end, chars + arg.length, chars + begin);
        std::fill(chars + arg.length - (end - begin), chars + arg.length, '\0');
    }
}

}  // namespace startup

// The one exit path of "end the program at once".
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "startup/mod_global.h"

namespace startup {
namespace {

struct ExitState {
    bool ended = false;
    std::function<void(int)> handler;
};

ExitState& State() {
    static ExitState state;
    return state;
}

// Closes whatever window is still open and leaves the process with the status (a zero is
// made non-zero: this path is only taken when the program cannot go on).
void ExitProcess(int status) {
    if (QApplication::instance() != nullptr) QApplication::closeAllWindows();
    std::fflush(nullptr);
    std::exit(status != 0 ? status : 1);
}

}  // namespace

void EndProgram(int status) {
    ExitState& st = State();
    st.ended = true;
    if (st.handler) {
        st.handler(status);
    } else {
        ExitProcess(status);
    }
}

bool ProgramEnded() {
    return State().ended;
}

void SetExitHandler(std::function<void(int)> handler) {
    State().handler = std::move(handler);
}

void ResetProgramEnded() {
    State().ended = false;
}

}  // namespace startup

#include "platform/adodb/sqlite/lock_wait.h"

#include <algorithm>
#include <array>

namespace adodb::sqlite {
namespace {

// Sleeps between attempts, short at first so a lock released at once costs little.
constexpr std::array<int, 8> kDelaysMs{1, 2, 5, 10, 15, 20, 25, 50};

// The engine's progress callback runs every this many virtual machine steps.
constexpr int kProgressSteps = 1000;

}  // namespace

void LockWait::Install(sqlite3* db) {
    sqlite3_busy_handler(db, &LockWait::OnBusy, this);
    sqlite3_progress_handler(db, kProgressSteps, &LockWait::OnProgress, this);
}

void LockWait::End() {
    if (noticed_) Notify(false);
}

int LockWait::OnBusy(void* self, int attempts) {
    return static_cast<LockWait*>(self)->Busy(attempts);
}

int LockWait::OnProgress(void* self) {
    // The statement is running again: whatever it waited for, it has now.
    static_cast<LockWait*>(self)->End();
    return 0;
}

int LockWait::Busy(int attempts) {
    const auto now = std::chrono::steady_clock::now();
    if (attempts == 0) started_ = now;
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(now - started_).count();
    if (timeoutSeconds_ > 0 && waited >= timeoutSeconds_ * 1000LL) return 0;
    if (!noticed_ && waited >= kNoticeAfter.count()) Notify(true);
    const std::size_t i =
        std::min<std::size_t>(static_cast<std::size_t>(attempts), kDelaysMs.size() - 1);
    int delay = kDelaysMs[i];
    if (timeoutSeconds_ > 0) {
        delay = static_cast<int>(std::min<long long>(delay, timeoutSeconds_ * 1000LL - waited));
    }
    sqlite3_sleep(std::max(delay, 1));
    return 1;
}

void LockWait::Notify(bool waiting) {
    noticed_ = waiting;
    if (!observer_) return;
    // Called from inside the engine: nothing may be thrown through it.
    try {
        observer_(waiting);
    } catch (...) {
    }
}

}  // namespace adodb::sqlite

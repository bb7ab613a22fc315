#pragma once
// Waiting for another connection's lock. The engine calls OnBusy while a statement cannot
// get a lock it needs; this sleeps between attempts until the command timeout has passed
// (then the statement fails as busy), and tells an observer once the wait has lasted long
// enough for the operator to notice, and again when it ends. A wait ends when the statement
// goes on (the engine's progress callback) or when the provider's call returns.
#include <sqlite3.h>

#include <chrono>
#include <functional>

namespace adodb::sqlite {

class LockWait {
  public:
    using Observer = std::function<void(bool waiting)>;

    // How long a statement waits before the observer hears of it.
    static constexpr std::chrono::milliseconds kNoticeAfter{200};

    // Installs the busy and progress callbacks on `db`; `this` must outlive the handle's use.
    void Install(sqlite3* db);
    void SetTimeout(int seconds) { timeoutSeconds_ = seconds; }
    void SetObserver(Observer observer) { observer_ = std::move(observer); }

    // Tells the observer that a wait it was told of is over (no-op otherwise).
    void End();

  private:
    static int OnBusy(void* self, int attempts);
    static int OnProgress(void* self);
    int Busy(int attempts);
    void Notify(bool waiting);

    Observer observer_;
    int timeoutSeconds_ = 30;  // 0 means no limit
    std::chrono::steady_clock::time_point started_;
    bool noticed_ = false;
};

// Ends the wait of `wait` when the provider's call returns, however it returns.
class LockWaitScope {
  public:
    explicit LockWaitScope(LockWait& wait) : wait_(wait) {}
    ~LockWaitScope() { wait_.End(); }
    LockWaitScope(const LockWaitScope&) = delete;
    LockWaitScope& operator=(const LockWaitScope&) = delete;

  private:
    LockWait& wait_;
};

}  // namespace adodb::sqlite

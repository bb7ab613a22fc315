// A statement waiting for another connection's lock tells the connection's observer when the
// wait has lasted a while and when it ends; the command timeout still decides when it fails.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/adodb/connection.h"
#include "sqlite_fixture.h"
#include "support/temp_dir.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Calls {
    std::mutex mutex;
    std::vector<bool> waiting;
    Clock::time_point firstAt;

    std::function<void(bool)> Observer() {
        return [this](bool w) {
            std::lock_guard lock(mutex);
            if (waiting.empty()) firstAt = Clock::now();
            waiting.push_back(w);
        };
    }
    std::vector<bool> Seen() {
        std::lock_guard lock(mutex);
        return waiting;
    }
};

class SqliteLockWait : public ::testing::Test {
  protected:
    void SetUp() override {
        sqlitetest::CreateDatabase(file_, "CREATE TABLE N (V INT); INSERT INTO N VALUES (1);");
        conn_.SetLockWaitObserver(calls_.Observer());  // set before Open: kept by it
        conn_.Open(sqlitetest::ConnectionStringFor(file_));
        holder_.Open(sqlitetest::ConnectionStringFor(file_));
    }

    testsupport::TempDir dir_;
    std::string file_ = dir_.File("lock.db");
    adodb::Connection conn_, holder_;
    Calls calls_;
};

TEST_F(SqliteLockWait, NoContentionNoCalls) {
    conn_.Execute("INSERT INTO N VALUES (2)");
    conn_.BeginTrans();
    conn_.Execute("DELETE FROM N");
    conn_.RollbackTrans();
    EXPECT_TRUE(calls_.Seen().empty());
}

TEST_F(SqliteLockWait, WaitThatTimesOutIsReportedAndFailsAsBusy) {
    holder_.BeginTrans();
    holder_.Execute("INSERT INTO N VALUES (3)");
    conn_.SetCommandTimeout(1);
    const auto start = Clock::now();
    EXPECT_THROW(conn_.Execute("DELETE FROM N"), adodb::ComError);
    const auto waited = Clock::now() - start;
    EXPECT_EQ(conn_.Errors().Item(0).Number, adodb::code::kTimeout);
    EXPECT_GE(waited, 900ms);
    EXPECT_EQ(calls_.Seen(), (std::vector<bool>{true, false}));
    EXPECT_GE(calls_.firstAt - start, 190ms);
    holder_.RollbackTrans();
    // A later wait is reported again.
    holder_.BeginTrans();
    holder_.Execute("INSERT INTO N VALUES (3)");
    EXPECT_THROW(conn_.BeginTrans(), adodb::ComError);
    EXPECT_EQ(calls_.Seen(), (std::vector<bool>{true, false, true, false}));
}

TEST_F(SqliteLockWait, WaitEndsWhenTheLockIsReleasedAndTheStatementGoesOn) {
    holder_.BeginTrans();
    holder_.Execute("INSERT INTO N VALUES (3)");
    // Set while open: reaches the open provider.
    Calls later;
    conn_.SetLockWaitObserver(later.Observer());
    auto release = std::async(std::launch::async, [&] {
        std::this_thread::sleep_for(600ms);
        // The statement is still waiting, and the observer has heard of it.
        const std::vector<bool> before = later.Seen();
        holder_.CommitTrans();
        return before;
    });
    long affected = 0;
    conn_.Execute("DELETE FROM N", &affected);
    EXPECT_EQ(release.get(), std::vector<bool>{true});
    EXPECT_EQ(affected, 2);
    EXPECT_EQ(later.Seen(), (std::vector<bool>{true, false}));
    EXPECT_TRUE(calls_.Seen().empty());
}

}  // namespace

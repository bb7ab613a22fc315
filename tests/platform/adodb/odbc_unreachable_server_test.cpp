// An SQL Server that cannot be reached, through the real FreeTDS driver: the failure must
// come quickly and carry what the connection-error message shows.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "platform/adodb/connection.h"

namespace {

// A loopback port where nothing listens: bound once to get a free number, then released.
int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
        port = ntohs(addr.sin_port);
    }
    close(fd);
    return port;
}

TEST(OdbcUnreachableServer, FailsFastWithSqlStateAndDescription) {
    const int port = FreeLoopbackPort();
    ASSERT_NE(port, 0);
    adodb::Connection conn;
    const std::string password = "Cl4veSecreta";
    const auto start = std::chrono::steady_clock::now();
    try {
        conn.Open("PROVIDER=SQLOLEDB;Server=127.0.0.1," + std::to_string(port) +
                  ";Database =GESTION;UId=sa;Pwd=" + password + ";");
        FAIL() << "nothing listens on port " << port;
    } catch (const adodb::ComError& e) {
        EXPECT_NE(e.Number(), 0);
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(10));
    EXPECT_EQ(conn.State(), adodb::kStateClosed);

    ASSERT_GE(conn.Errors().Count(), 1);
    for (int i = 0; i < conn.Errors().Count(); ++i) {
        const adodb::Error& e = conn.Errors().Item(i);
        EXPECT_EQ(e.SQLState.size(), 5u) << e.SQLState;
        EXPECT_FALSE(e.Description.empty());
        EXPECT_EQ(e.Description.find(password), std::string::npos) << e.Description;
    }
    EXPECT_EQ(conn.Errors().Item(0).SQLState.substr(0, 2), "08")
        << conn.Errors().Item(0).Description;
}

}  // namespace

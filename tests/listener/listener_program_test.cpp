// The stand-in simulator's command line.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "tests/cli/run_kavrel.h"
#include "tests/support/temp_folder.h"

TEST(SimListenerProgram, HelpListsTheOptionsAndAnythingElseBesideItIsAUsageError) {
    const hosttest::ProgramRun help =
        hosttest::runCommand("'" KAVREL_SIM_LISTENER_BINARY "' --help");
    EXPECT_EQ(help.status, 0) << help.output;
    for (const char* option : {"--port-file FILE", "--png OUT.png", "--grid COLSxROWS",
                               "--seconds N", "--scale N", "-h, --help"})
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
    for (const char* args : {"--help extra", "--port-file p.txt", "--png x.png --port-file"}) {
        const hosttest::ProgramRun bad =
            hosttest::runCommand("'" KAVREL_SIM_LISTENER_BINARY "' " + std::string(args));
        EXPECT_EQ(bad.status, 2) << args;
        EXPECT_EQ(bad.output.rfind("usage: kavrel_sim_listener", 0), 0u) << args << bad.output;
    }
}

// A sender on another grid: the first record outside the listener's grid is
// named on standard error, with the grid, and the count of them at the end.
TEST(SimListenerProgram, WarnsOfARecordOutsideItsGrid) {
    const kavrel_test::TempFolder dir("kavrel-listener");
    const std::string portFile = dir / "port.txt";
    hosttest::ProgramRun run;
    std::thread listener([&] {
        run = hosttest::runCommand("'" KAVREL_SIM_LISTENER_BINARY
                                   "' --grid 2x2 --seconds 20 "
                                   "--port-file '" +
                                   portFile + "' --png '" + (dir / "sim.png") + "'");
    });
    int port = 0;
    for (int i = 0; i < 200 && port == 0; ++i) {
        std::ifstream(portFile) >> port;
        if (port == 0) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    // Light (1, 1) red, then light (5, 1), a column past a 2x2 grid.
    const uint8_t records[] = {1, 0, 0, 0, 1, 0, 0, 0, 255, 0,   0,
                               5, 0, 0, 0, 1, 0, 0, 0, 0,   255, 0};
    const bool sent =
        connected && ::send(fd, records, sizeof records, MSG_NOSIGNAL) == sizeof records;
    ::close(fd);
    listener.join();
    ASSERT_TRUE(sent) << "port " << port;
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("kavrel_sim_listener: a record for light (5, 1) lies outside the "
                              "grid 2x2; give both programs the same --grid"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("1 of 2 records lay outside the grid 2x2"), std::string::npos)
        << run.output;
}

// The stand-in simulator's command line.
#include <gtest/gtest.h>

#include <string>

#include "tests/cli/run_kavrel.h"

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

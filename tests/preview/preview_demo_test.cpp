// The preview demo script run by the kavrel program against a stand-in
// simulator: both previews, full view, connect, a fade, reconnect; what the
// simulator received equals the mixed frame after the fade.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/cli/run_kavrel.h"
#include "tests/support/sim_listener.h"
#include "tests/support/temp_folder.h"

namespace kavrel::testing {
namespace {

TEST(PreviewDemoTest, ScriptRunsBothPreviewsAndTheSimulatorSeesTheFadedMix) {
    std::ifstream in(std::string(KAVREL_SOURCE_DIR) + "/examples/preview-demo.kav");
    std::stringstream text;
    text << in.rdbuf();
    std::string script = text.str();
    ASSERT_FALSE(script.empty());

    SimListener listener;
    const std::string placeholder = "LISTENER_PORT";
    ASSERT_NE(script.find(placeholder), std::string::npos);
    for (size_t at; (at = script.find(placeholder)) != std::string::npos;)
        script.replace(at, placeholder.size(), listener.portText());

    const kavrel_test::TempFolder folder("kavrel-preview-demo");
    const std::filesystem::path& dir = folder.path();
    folder.folder("demo-out");
    std::ofstream(dir / "demo.kav") << script;

    const hosttest::ProgramRun run = hosttest::runKavrelIn(dir, "demo.kav");
    EXPECT_EQ(run.status, 0) << run.output;
    for (const char* png : {"21-plain-preview.png", "22-plain-full-view.png",
                            "23-surface-preview.png", "24-mix-after-fade.png"})
        EXPECT_TRUE(std::filesystem::is_regular_file(dir / "demo-out" / png)) << png;

    // The program has ended; what it sent waits in the listener's socket.
    for (int i = 0; i < 20 && !listener.peerClosed(); ++i) listener.pump(50);
    ASSERT_GE(listener.records().size(), 144u);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y) EXPECT_EQ(listener.light(x, y), 0x0000FF) << x << "," << y;
}

}  // namespace
}  // namespace kavrel::testing

// kavrel_sim_listener: a stand-in matrix simulator for the demo and manual
// checks. Listens on a loopback port, takes its clients one after another,
// keeps the lights their records name, and writes them as a PNG when the time
// is up or a second has passed with no client since the last one went away
// (so a client that reconnects at once is taken too); one pixel per light,
// scaled up by --scale. `kavrel_sim_listener --help` lists its options; the
// chosen port is written to the --port-file as soon as it listens.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "platform/picture_file.h"
#include "tests/support/sim_listener.h"

namespace {

constexpr const char* kOptions =
    "usage: kavrel_sim_listener --port-file FILE --png OUT.png [options]\n"
    "Stands in for the external matrix simulator: listens on a free loopback port,\n"
    "takes clients one after another and writes the lights they sent as a PNG.\n"
    "\n"
    "  --port-file FILE    write the port it listens on into FILE (one line)\n"
    "  --png OUT.png       the picture of the lights, written at the end\n"
    "  --grid COLSxROWS    the lights, 1..50 each (default 12x12)\n"
    "  --seconds N         end after N seconds, 1..3600 (default 30); it ends\n"
    "                      sooner a second after its last client left\n"
    "  --scale N           pixels a light is wide and high, 1..50 (default 10)\n"
    "  -h, --help          show this text\n";

int usage() {
    std::fputs(kOptions, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string portFile, png;
    int cols = 12, rows = 12, seconds = 30, scale = 10;
    for (int i = 1; i < argc; ++i) {
        const std::string_view opt = argv[i];
        if (opt == "--help" || opt == "-h") {
            if (argc != 2) return usage();
            std::fputs(kOptions, stdout);
            return 0;
        }
        // Every other option takes a value.
        if (i + 1 >= argc) return usage();
        const std::string value = argv[++i];
        if (opt == "--port-file") {
            portFile = value;
        } else if (opt == "--png") {
            png = value;
        } else if (opt == "--grid") {
            if (std::sscanf(value.c_str(), "%dx%d", &cols, &rows) != 2) return usage();
        } else if (opt == "--seconds") {
            seconds = std::atoi(value.c_str());
        } else if (opt == "--scale") {
            scale = std::atoi(value.c_str());
        } else {
            return usage();
        }
    }
    if (portFile.empty() || png.empty() || cols < 1 || cols > 50 || rows < 1 || rows > 50 ||
        seconds < 1 || seconds > 3600 || scale < 1 || scale > 50)
        return usage();

    kavrel::testing::SimListener listener;
    if (listener.port() == 0) {
        std::fprintf(stderr, "kavrel_sim_listener: cannot listen\n");
        return 1;
    }
    {
        std::ofstream out(portFile);
        out << listener.port() << "\n";
        if (!out) return 1;
    }
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    std::optional<Clock::time_point> lastLeft;
    while (Clock::now() < end) {
        listener.pump(50);
        if (listener.connected()) {
            lastLeft.reset();
            if (listener.peerClosed()) {
                listener.closeClient();
                lastLeft = Clock::now();
            }
        } else if (lastLeft && Clock::now() - *lastLeft > std::chrono::seconds(1)) {
            break;
        }
    }
    const platform::Surface lights = listener.picture(cols, rows);
    platform::Surface big(cols * scale, rows * scale, 0);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x) big.set(x, y, lights.at(x / scale, y / scale));
    if (const platform::WriteResult written = platform::writePng(big, png); !written) {
        std::fprintf(stderr, "kavrel_sim_listener: cannot write %s: %s\n", png.c_str(),
                     written.reason().c_str());
        return 1;
    }
    std::printf("%zu records, picture in %s\n", listener.records().size(), png.c_str());
    return 0;
}

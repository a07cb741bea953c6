// kavrel_sim_listener: a stand-in matrix simulator for the demo and manual
// checks. Listens on a loopback port, takes its clients one after another,
// keeps the lights their records name, and writes them as a PNG when the time
// is up or a second has passed with no client since the last one went away
// (so a client that reconnects at once is taken too); one pixel per light,
// scaled up by --scale; records outside its --grid are warned of on standard
// error. `kavrel_sim_listener --help` lists its options; the
// chosen port is written to the --port-file as soon as it listens.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pictures/picture_file.h"
#include "tests/support/sim_listener.h"

namespace {

constexpr const char* kOptions =
    "usage: kavrel_sim_listener --port-file FILE --png OUT.png [options]\n"
    "Stands in for the external matrix simulator: listens on a free loopback port,\n"
    "takes clients one after another and writes the lights they sent as a PNG.\n"
    "\n"
    "  --port-file FILE    write the port it listens on into FILE (one line)\n"
    "  --png OUT.png       the picture of the lights, written at the end\n"
    "  --grid COLSxROWS    the lights, 1..50 each (default 12x12); give the\n"
    "                      sender's grid: records outside it are warned of\n"
    "  --seconds N         end after N seconds, 1..3600 (default 30); it ends\n"
    "                      sooner a second after its last client left\n"
    "  --scale N           pixels a light is wide and high, 1..50 (default 10)\n"
    "  -h, --help          show this text\n";

// A sender set to another grid than the listener's would otherwise draw a
// silently cut picture: the first record outside the grid is named on
// standard error, and the count of them at the end.
class OutsideWatch {
  public:
    OutsideWatch(int cols, int rows) : cols_(cols), rows_(rows) {}
    void check(const std::vector<kavrel::testing::SimRecord>& records) {
        for (; seen_ < records.size(); ++seen_) {
            const kavrel::testing::SimRecord& r = records[seen_];
            if (r.x >= 0 && r.y >= 0 && r.x < cols_ && r.y < rows_) continue;
            if (outside_++ == 0)
                std::fprintf(stderr,
                             "kavrel_sim_listener: a record for light (%d, %d) lies outside the "
                             "grid %dx%d; give both programs the same --grid\n",
                             r.x, r.y, cols_, rows_);
        }
    }
    void summarise() const {
        if (outside_ > 0)
            std::fprintf(stderr,
                         "kavrel_sim_listener: %zu of %zu records lay outside the grid %dx%d and "
                         "are not in the picture\n",
                         outside_, seen_, cols_, rows_);
    }

  private:
    int cols_, rows_;
    size_t seen_ = 0;
    size_t outside_ = 0;
};

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
    OutsideWatch outside{cols, rows};
    while (Clock::now() < end) {
        listener.pump(50);
        outside.check(listener.records());
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
    outside.check(listener.records());
    outside.summarise();
    std::printf("%zu records, picture in %s\n", listener.records().size(), png.c_str());
    return 0;
}

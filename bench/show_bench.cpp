// A whole show: 60 seconds of virtual time at 50 x 50 with the DMX output,
// the three preview panes and timed fades running, reported as seconds of
// show per second of CPU.
#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

#include "host/kavrel_plugin.h"
#include "host/orva_host.h"
#include "platform/driver/user_driver.h"

namespace {

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void BM_SixtySecondShow(benchmark::State& st) {
    const auto fadeType = static_cast<int>(st.range(0));
    double showSeconds = 0, cpu = 0;
    for (auto _ : st) {
        orva::OrvaHost host(&orva::createKavrelPlugin);
        orva::StartOptions options;
        options.gridCols = 50;
        options.gridRows = 50;
        host.open(options);
        platform::Desktop& desktop = host.plugin().desktop();
        desktop.autoAcknowledgeMessages = true;
        platform::UserDriver user(desktop);
        user.set("MatrixForm.dmx_active", "1");
        user.set("MatrixForm.fadeType", std::string("#").append(std::to_string(fadeType)));
        user.set("MatrixForm.fadeTimeText", "5");
        const double start = cpuSeconds();
        // Twelve fades of five seconds, back and forth.
        for (int i = 0; i < 12; ++i) {
            user.click(i % 2 == 0 ? "MatrixForm.fadeLeft" : "MatrixForm.fadeRight");
            desktop.loop().wait(5000);
        }
        cpu += cpuSeconds() - start;
        showSeconds += 60;
        host.close();
    }
    st.counters["show_s_per_cpu_s"] = showSeconds / cpu;
}

}  // namespace

BENCHMARK(BM_SixtySecondShow)->Arg(0)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);

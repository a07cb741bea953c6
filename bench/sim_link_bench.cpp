// One tick of the simulator timer with a connected simulator link on the
// loopback address: a 50 x 50 frame in which every light changed (2500
// records) and one in which 10 lights changed. The peer reads as it goes.
#include <benchmark/benchmark.h>

#include <string>

#include "host/kavrel_plugin.h"
#include "host/orva_host.h"
#include "main_window/matrix_form.h"
#include "platform/driver/user_driver.h"
#include "tests/support/sim_listener.h"

namespace {

void BM_SimulatorTick(benchmark::State& st) {
    const auto changed = static_cast<int>(st.range(0));
    orva::OrvaHost host(&orva::createKavrelPlugin);
    orva::StartOptions options;
    options.gridCols = 50;
    options.gridRows = 50;
    host.open(options);
    platform::Desktop& desktop = host.plugin().desktop();
    desktop.autoAcknowledgeMessages = true;
    platform::UserDriver user(desktop);
    kavrel::testing::SimListener listener;
    user.click("MatrixForm.extmxsim_active");
    user.set("MxExtSimForm.myHostText", "127.0.0.1");
    user.set("MxExtSimForm.myPortText", listener.portText());
    user.click("MxExtSimForm.ConnectB");
    kavrel::MatrixForm& form =
        static_cast<orva::KavrelHostedPlugin&>(host.plugin()).plugin().mainWindow().form();
    kavrel::SharedState& s =
        static_cast<orva::KavrelHostedPlugin&>(host.plugin()).plugin().kavrel().state();
    uint8_t v = 0;
    for (auto _ : st) {
        ++v;
        for (int i = 0; i < changed; ++i) s.frameM.setRgb(i % 50, i / 50, v, v, v);
        s.dirtySim = true;
        form.updateVoVevTimer_Timer();
        st.PauseTiming();
        listener.pump(0);
        st.ResumeTiming();
    }
    if (!s.extSimConnected) st.SkipWithError("the link went down");
    st.counters["records"] = static_cast<double>(listener.records().size());
}
BENCHMARK(BM_SimulatorTick)->Arg(2500)->Arg(10)->Unit(benchmark::kMicrosecond);

}  // namespace

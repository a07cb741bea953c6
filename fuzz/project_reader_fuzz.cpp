// libFuzzer target: the project reader takes any bytes without crashing,
// hanging or touching memory it does not own.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "banks/project_file.h"
#include "core/kavrel.h"
#include "effects/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static kavrel::Kavrel* instance = [] {
        auto* k = new kavrel::Kavrel(kavrel::InstanceOptions{});
        kavrel::registerEffects(k->effects(), *k);
        return k;
    }();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)kavrel::readProject(bytes, instance->effects(), 12, 12);
    return 0;
}

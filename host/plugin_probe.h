#pragma once
// What the kavrel program and the tests read of a plug-in beyond the host
// interfaces: its desktop (windows, loop, user driver) and its state.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/desktop.h"

namespace orva {

class PluginProbe {
  public:
    virtual ~PluginProbe() = default;
    virtual platform::Desktop& desktop() = 0;
    // A shared-state variable by its name ("mixPos", "curEffA", "effA(0).speed").
    virtual std::optional<std::string> readVar(std::string_view name) const = 0;
    // A light of frame 'A', 'B' or 'M' as 0x00BBGGRR; nullopt outside the grid.
    virtual std::optional<uint32_t> framePixel(char frame, int x, int y) const = 0;
    virtual int gridCols() const = 0;
    virtual int gridRows() const = 0;
};

}  // namespace orva

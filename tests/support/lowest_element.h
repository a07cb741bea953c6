#pragma once
// The name a test reads a control's property by: an indexed one ("Item(i)")
// at the lowest index of each of its letters, as the control describes them
// ("Item(1)"); any other name as it is.
#include <string>

#include "platform/windows/control.h"

namespace kavrel_test {

inline std::string lowestElement(const platform::Control& c, const std::string& name) {
    for (const platform::IndexedProperty& p : c.indexedProperties()) {
        if (p.form != name) continue;
        std::string out = std::string(p.name()) + '(';
        for (size_t i = 0; i < p.ranges.size(); ++i)
            out += (i == 0 ? "" : ",") + std::to_string(p.ranges[i].low);
        return out + ')';
    }
    return name;
}

}  // namespace kavrel_test

#include "platform/controls/line_shape.h"

namespace platform {

LineShape::LineShape(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

namespace {
[[noreturn]] void noInput(const LineShape& line) {
    throw UserActionError("a line takes no user input: " + line.path());
}
}  // namespace

bool LineShape::userClick() {
    noInput(*this);
}
bool LineShape::userDblClick() {
    noInput(*this);
}
bool LineShape::userSet(const std::string&) {
    noInput(*this);
}
bool LineShape::userKey(int) {
    noInput(*this);
}
bool LineShape::userMouse(MouseAction, float, float, int, int) {
    noInput(*this);
}

std::optional<std::string> LineShape::answerProperty(PropertyQuery& q) const {
    if (q.is("X1")) return propertyNumber(x1_);
    if (q.is("Y1")) return propertyNumber(y1_);
    if (q.is("X2")) return propertyNumber(x2_);
    if (q.is("Y2")) return propertyNumber(y2_);
    if (q.is("BorderColor")) return propertyColor(borderColor_);
    return Control::answerProperty(q);
}

}  // namespace platform

#include "WaitEdit.h"

#include <cmath>

#include "platform/rtl/Strings.h"

namespace velmora::manager {

double TWaitEdit::Value() const {
    auto n = ParseInt(Trim(Text()));
    return n ? static_cast<double>(*n) : std::round(MinValue);
}

void TWaitEdit::SetValue(double value) {
    SetText(std::to_wstring(static_cast<long long>(std::llround(CheckValue(value)))));
}

double TWaitEdit::CheckValue(double value) const {
    if (MaxValue == MinValue) return value;
    if (value < MinValue) return MinValue;
    if (value > MaxValue) return MaxValue;
    return value;
}

}  // namespace velmora::manager

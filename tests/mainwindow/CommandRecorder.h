#pragma once
// The menu tests put a recording handler on items in place of their commands:
// it records the command's name (and the item or button that ran it) here, so
// that a test sees which command a key, a click or a toolbar button reached.

#include <string>
#include <vector>

namespace velmora {

namespace gui {
class TObject;
}

struct TPlaceholderCall {
    std::wstring Handler;
    const gui::TObject* Sender = nullptr;
};

inline std::vector<TPlaceholderCall>& PlaceholderCalls() {
    static std::vector<TPlaceholderCall> calls;
    return calls;
}

inline void RecordPlaceholder(const wchar_t* Handler, const gui::TObject* Sender) {
    PlaceholderCalls().push_back({Handler, Sender});
}

}  // namespace velmora

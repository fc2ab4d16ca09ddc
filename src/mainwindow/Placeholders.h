#pragma once
// Commands whose routines are not written yet still have a handler, so that
// their menu items, shortcuts and toolbar buttons can be bound and checked:
// the handler records its name (and the item or button that ran it) here and
// does nothing else. Tests read and clear the list.

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

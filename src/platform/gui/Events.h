#pragma once
// Events are single-cast std::function members with the sender first. A form binds
// its own member functions in one line: OKBtn.OnClick = bind(this, &TDlg::OKBtnClick);

#include <functional>
#include <utility>

namespace velmora::gui {

class TObject;

using TNotifyEvent = std::function<void(TObject* Sender)>;

template <class Obj, class Cls, class R, class... Args>
std::function<R(Args...)> bind(Obj* object, R (Cls::*method)(Args...)) {
    Cls* target = object;
    return [target, method](Args... args) -> R { return (target->*method)(std::forward<Args>(args)...); };
}

// Calls an event through a copy, so that a handler may replace or free the
// event's owner (a menu item deleting itself from its own click) without
// destroying the function object that is running.
template <class Event, class... Args>
void Fire(const Event& event, Args&&... args) {
    if (!event) return;
    Event copy = event;
    copy(std::forward<Args>(args)...);
}

}  // namespace velmora::gui

#pragma once
// THEOleDropTarget: makes a windowed control accept OLE drops. It registers a small
// COM drop target for the control's window and forwards the four calls to its
// events, where the owner decides the effect (passed by reference straight back to
// the system) and handles the drop.

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <memory>

#include "platform/gui/Controls.h"

namespace velmora {

using TOnOleDragEnter = std::function<void(gui::TObject* Sender, IDataObject* DataObj, DWORD grfKeyState, POINT pt, DWORD& dwEffect)>;
using TOnOleDragOver = std::function<void(gui::TObject* Sender, DWORD grfKeyState, POINT pt, DWORD& dwEffect)>;
using TOnOleDrop = TOnOleDragEnter;

class THEDropTarget;

class THEOleDropTarget : public gui::TComponent {
public:
    explicit THEOleDropTarget(gui::TComponent* owner);
    // Revokes a registration, cuts the COM object's way back here (a late call
    // answers "no effect") and gives up this component's reference to it.
    ~THEOleDropTarget() override;

    gui::TWinControl* TargetWinControl() const { return m_target; }
    // Moves the registration to Control (one without a window yet is registered
    // from a posted call); the same control again changes nothing.
    void SetTargetWinControl(gui::TWinControl* Control);
    // 0 on success or when there is nothing to do, 1 when the system call failed.
    int RegisterTarget();
    int RevokeTarget();
    bool Registered() const { return m_registered; }
    // The COM object, for whoever calls it the way the system would.
    IDropTarget* DropTargetObject() const;

    TOnOleDragEnter OnOleDragEnter;
    gui::TNotifyEvent OnOleDragLeave;
    TOnOleDragOver OnOleDragOver;
    TOnOleDrop OnOleDrop;

protected:
    void Notification(gui::TComponent* component, gui::TOperation operation) override;
    // The owner is going: revoke while the window still exists.
    void DoDestroy() override;

private:
    THEDropTarget* m_object;
    gui::TWinControl* m_target = nullptr;
    HWND m_window = nullptr;  // the window registered
    bool m_registered = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace velmora

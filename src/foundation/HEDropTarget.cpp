#include "foundation/HEDropTarget.h"

#include "foundation/ComObject.h"
#include "platform/gui/Application.h"

namespace velmora {

class THEDropTarget : public TComObject<IDropTarget> {
public:
    explicit THEDropTarget(THEOleDropTarget* owner) : TComObject(IID_IDropTarget, 1), m_owner(owner) {}
    void Detach() { m_owner = nullptr; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        return Forward(effect, [&](DWORD& e) { gui::Fire(m_owner->OnOleDragEnter, m_owner, data, keys, Point(pt), e); });
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override {
        return Forward(effect, [&](DWORD& e) { gui::Fire(m_owner->OnOleDragOver, m_owner, keys, Point(pt), e); });
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        DWORD none = DROPEFFECT_NONE;
        return Forward(&none, [&](DWORD&) { gui::Fire(m_owner->OnOleDragLeave, m_owner); });
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        return Forward(effect, [&](DWORD& e) { gui::Fire(m_owner->OnOleDrop, m_owner, data, keys, Point(pt), e); });
    }

private:
    static POINT Point(POINTL pt) { return POINT{pt.x, pt.y}; }

    // Calls the event with the effect by reference; once the component is gone,
    // or when the handler failed, the answer is "no effect".
    template <class Call>
    HRESULT Forward(DWORD* effect, Call call) {
        if (!effect) return E_INVALIDARG;
        if (!m_owner) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        try {
            call(*effect);
        } catch (...) {
            *effect = DROPEFFECT_NONE;
            gui::HandleCallbackException(m_owner);
        }
        return S_OK;
    }

    THEOleDropTarget* m_owner;
};

THEOleDropTarget::THEOleDropTarget(gui::TComponent* owner) : TComponent(owner), m_object(new THEDropTarget(this)) {}

THEOleDropTarget::~THEOleDropTarget() {
    m_alive.reset();
    RevokeTarget();
    if (m_target) m_target->RemoveFreeNotification(this);
    m_object->Detach();
    m_object->Release();
}

IDropTarget* THEOleDropTarget::DropTargetObject() const { return m_object; }

void THEOleDropTarget::SetTargetWinControl(gui::TWinControl* Control) {
    if (Control == m_target) return;
    RevokeTarget();
    if (m_target) m_target->RemoveFreeNotification(this);
    m_target = Control;
    if (!m_target) return;
    m_target->FreeNotification(this);
    if (m_target->HandleAllocated() || !gui::Application) {
        RegisterTarget();
        return;
    }
    // A pane sets its target while it is being built, before its windows exist:
    // register once the current message is through and the pane stands.
    std::weak_ptr<bool> alive = m_alive;
    gui::Application->Post([this, alive] {
        if (!alive.expired()) RegisterTarget();
    });
}

int THEOleDropTarget::RegisterTarget() {
    if (m_registered || !m_target) return 0;
    HWND window = m_target->Handle();
    CoLockObjectExternal(m_object, TRUE, FALSE);
    if (!window || FAILED(RegisterDragDrop(window, m_object))) {
        CoLockObjectExternal(m_object, FALSE, TRUE);
        return 1;
    }
    m_window = window;
    m_registered = true;
    return 0;
}

int THEOleDropTarget::RevokeTarget() {
    if (!m_registered) return 0;
    const bool revoked = IsWindow(m_window) && SUCCEEDED(RevokeDragDrop(m_window));
    if (!revoked) {
        // The window went first: the system's copies of our reference would stay
        // behind; cut them off so the object can still be freed.
        CoDisconnectObject(m_object, 0);
    }
    CoLockObjectExternal(m_object, FALSE, TRUE);
    m_registered = false;
    m_window = nullptr;
    return revoked ? 0 : 1;
}

void THEOleDropTarget::Notification(gui::TComponent* component, gui::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == gui::TOperation::opRemove && component == m_target) {
        RevokeTarget();
        m_target = nullptr;
    }
}

void THEOleDropTarget::DoDestroy() {
    TComponent::DoDestroy();
    RevokeTarget();
}

}  // namespace velmora

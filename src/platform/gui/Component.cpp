#include "Component.h"

#include <algorithm>

namespace velmora::gui {

TComponent::TComponent(TComponent* owner) : m_owner(owner) {
    if (m_owner) m_owner->Insert(this);
}

TComponent::~TComponent() {
    BeforeDestruction();
    auto notifies = m_freeNotifies;
    m_freeNotifies.clear();
    for (TComponent* other : notifies) {
        other->RemoveFreeNotification(this);
        other->Notification(this, TOperation::opRemove);
    }
    // Members of a derived class have removed themselves by now; what is left was
    // created on the heap for this owner.
    while (!m_components.empty()) {
        TComponent* child = m_components.back();
        m_components.pop_back();
        child->m_owner = nullptr;
        delete child;
    }
    if (m_owner) m_owner->Remove(this);
}

TComponent* TComponent::FindComponent(const std::wstring& name) const {
    for (TComponent* c : m_components)
        if (c->m_name == name) return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), other) == m_freeNotifies.end())
        m_freeNotifies.push_back(other);
    if (std::find(other->m_freeNotifies.begin(), other->m_freeNotifies.end(), this) == other->m_freeNotifies.end())
        other->m_freeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    std::erase(m_freeNotifies, other);
}

void TComponent::AfterConstruction() {
    if (m_constructed) return;
    m_constructed = true;
    Loaded();
    DoCreate();
}

void TComponent::BeforeDestruction() {
    if (m_destroying) return;
    m_destroying = true;
    for (TComponent* c : m_components) c->BeforeDestruction();
    DoDestroy();
}

void TComponent::Free() {
    BeforeDestruction();
    delete this;
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Insert(TComponent* component) { m_components.push_back(component); }

void TComponent::Remove(TComponent* component) { std::erase(m_components, component); }

}  // namespace velmora::gui

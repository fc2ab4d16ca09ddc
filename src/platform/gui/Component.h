#pragma once
// TComponent: the ownership model. An owner frees the components it owns; a
// component that is a member of another object removes itself from its owner
// when it is destroyed, so members and heap-created children mix freely.

#include <string>
#include <vector>

namespace velmora::gui {

class TObject {
public:
    virtual ~TObject() = default;
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return m_owner; }
    const std::wstring& Name() const { return m_name; }
    void SetName(std::wstring name) { m_name = std::move(name); }
    int Tag = 0;

    int ComponentCount() const { return static_cast<int>(m_components.size()); }
    TComponent* Components(int index) const { return m_components.at(static_cast<size_t>(index)); }
    TComponent* FindComponent(const std::wstring& name) const;

    // Asks to be told (Notification with opRemove) when Other is destroyed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Runs once after the most derived constructor: the form's creation event and
    // the "loaded" hook. CreateForm calls it; a form shown first calls it itself.
    void AfterConstruction();
    bool Constructed() const { return m_constructed; }
    // Runs before the destructors: marks this and its components as going away
    // (no more events) and lets a form fire its destruction event.
    void BeforeDestruction();
    bool Destroying() const { return m_destroying; }

    // Frees a component the ownership way: destruction events first.
    void Free();

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void Loaded() {}
    virtual void DoCreate() {}
    virtual void DoDestroy() {}

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* m_owner;
    std::wstring m_name;
    std::vector<TComponent*> m_components;
    std::vector<TComponent*> m_freeNotifies;
    bool m_constructed = false;
    bool m_destroying = false;
};

// Deleter for std::unique_ptr of components: destruction events before the destructor.
struct TComponentDeleter {
    void operator()(TComponent* component) const {
        if (component) component->Free();
    }
};

// Creates a component that its owner frees, and runs its construction hook.
template <class T, class... Args>
T* Create(TComponent* owner, Args&&... args) {
    T* object = new T(owner, std::forward<Args>(args)...);
    object->AfterConstruction();
    return object;
}

template <class T>
void FreeAndNil(T*& object) {
    T* old = object;
    object = nullptr;
    if (old) old->Free();
}

}  // namespace velmora::gui

#pragma once
// TComObject: the reference counting and interface query of a small COM class that
// answers the root interface and one interface of its own. It frees itself when its
// count drops to 0.

#include <unknwn.h>

#include <atomic>

namespace velmora {

template <class Interface>
class TComObject : public Interface {
public:
    TComObject(REFIID iid, ULONG initialCount) : m_iid(iid), m_count(initialCount) {}
    virtual ~TComObject() = default;
    TComObject(const TComObject&) = delete;
    TComObject& operator=(const TComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, m_iid)) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_count; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_count;
        if (left == 0) delete this;
        return left;
    }

private:
    const IID m_iid;
    std::atomic<ULONG> m_count;
};

}  // namespace velmora

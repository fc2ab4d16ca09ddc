#pragma once
// TComPtr: owns one reference to a COM interface and releases it when it goes.

#include <unknwn.h>

#include <utility>

namespace velmora {

template <class T>
class TComPtr {
public:
    TComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit TComPtr(T* p) : m_p(p) {}
    ~TComPtr() { Reset(); }
    TComPtr(const TComPtr& other) : m_p(other.m_p) {
        if (m_p)
            m_p->AddRef();
    }
    TComPtr(TComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    TComPtr& operator=(TComPtr other) noexcept {
        std::swap(m_p, other.m_p);
        return *this;
    }

    void Reset() {
        if (m_p)
            std::exchange(m_p, nullptr)->Release();
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For out parameters: releases what is held and hands out the slot.
    T** Put() {
        Reset();
        return &m_p;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

private:
    T* m_p = nullptr;
};

}  // namespace velmora

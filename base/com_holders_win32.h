// Holders of what COM hands out: each owns one interface pointer, BSTR,
// VARIANT or SAFEARRAY and gives it back once, when the holder goes, so no
// early return leaks one. Copying a holder is not allowed.
#pragma once

#include "base/windows_win32.h"

#include <oleauto.h>

#include <string>

// An owned interface pointer, released once.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(T* p) : p_(p) {}
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(other.detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        reset(other.detach());
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out parameters: drops the old pointer and hands out the slot.
    T** put()
    {
        reset();
        return &p_;
    }
    // Releases the pointer held and takes p (already counted for us).
    void reset(T* p = nullptr)
    {
        T* old = p_;
        p_ = p;
        if (old)
            old->Release();
    }
    // Hands the reference on to a new owner without releasing it.
    T* detach()
    {
        T* p = p_;
        p_ = nullptr;
        return p;
    }

private:
    T* p_ = nullptr;
};

// An owned BSTR, freed once.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text) : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return b_; }
    BSTR* put()
    {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    std::wstring text() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

private:
    BSTR b_ = nullptr;
};

// A VARIANT that is initialized on creation and cleared when it goes.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() { return &v_; }
    const VARIANT& ref() const { return v_; }

private:
    VARIANT v_;
};

// A SAFEARRAY handed to us to own (the names array), destroyed when it goes.
class SafeArray {
public:
    SafeArray() = default;
    ~SafeArray()
    {
        if (a_)
            SafeArrayDestroy(a_);
    }
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;

    SAFEARRAY* get() const { return a_; }
    SAFEARRAY** put() { return &a_; }

private:
    SAFEARRAY* a_ = nullptr;
};

// The interface iid of from, or none.
template <class T>
ComPtr<T> com_query(IUnknown* from, REFIID iid)
{
    void* p = nullptr;
    if (from && SUCCEEDED(from->QueryInterface(iid, &p)) && p)
        return ComPtr<T>(static_cast<T*>(p));
    return ComPtr<T>();
}

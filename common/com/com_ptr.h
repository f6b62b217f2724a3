#pragma once

#include <unknwn.h>
#include <utility>

namespace kastrel::common::com {

// Owns one reference to a COM interface.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* adopted) noexcept : pointer_(adopted) {}
    // Adds a reference of its own.
    static ComPtr share(T* pointer) noexcept {
        if (pointer)
            pointer->AddRef();
        return ComPtr(pointer);
    }

    ComPtr(const ComPtr& other) noexcept : pointer_(other.pointer_) {
        if (pointer_)
            pointer_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    // For functions that hand out a new reference through a T** parameter.
    T** put() noexcept {
        reset();
        return &pointer_;
    }
    void reset() noexcept {
        if (pointer_)
            std::exchange(pointer_, nullptr)->Release();
    }
    // Gives the reference to the caller.
    T* detach() noexcept { return std::exchange(pointer_, nullptr); }

    template <class U> HRESULT query(REFIID iid, ComPtr<U>& out) const noexcept {
        return pointer_->QueryInterface(iid, reinterpret_cast<void**>(out.put()));
    }

private:
    T* pointer_ = nullptr;
};

} // namespace kastrel::common::com

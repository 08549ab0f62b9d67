// One owned reference to a COM object: released when the pointer goes, taken anew
// when it is copied.
#pragma once

#include <unknwn.h>

#include <utility>

namespace vantorel::outlook::com {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes a reference of its own to OBJECT.
    explicit ComPtr(T* object) : p_(object) {
        if (p_ != nullptr) {
            p_->AddRef();
        }
    }
    // Takes over the reference the caller holds.
    static ComPtr adopt(T* object) {
        ComPtr result;
        result.p_ = object;
        return result;
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    void reset() {
        if (T* old = std::exchange(p_, nullptr)) {
            old->Release();
        }
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases what is held first.
    T** put() {
        reset();
        return &p_;
    }
    // Hands the reference to the caller.
    T* detach() { return std::exchange(p_, nullptr); }

    // The object's interface U, or null when it has none.
    template <typename U>
    ComPtr<U> query(REFIID iid) const {
        ComPtr<U> result;
        if (p_ != nullptr) {
            p_->QueryInterface(iid, reinterpret_cast<void**>(result.put()));
        }
        return result;
    }

private:
    T* p_ = nullptr;
};

}  // namespace vantorel::outlook::com

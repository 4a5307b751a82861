#pragma once

#include <utility>

// Owns one reference to a COM object and releases it exactly once.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // For out-parameters of the platform: the previous reference is released first.
    T** receive() {
        reset();
        return &object_;
    }
    void reset() {
        if (object_) object_->Release();
        object_ = nullptr;
    }

private:
    T* object_ = nullptr;
};

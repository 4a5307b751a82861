#pragma once

#include <windows.h>

#include <utility>

// Owns one kernel handle and closes it exactly once. Both "no handle" values of the
// platform (null and INVALID_HANDLE_VALUE) count as empty.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return valid(); }

    HANDLE release() { return std::exchange(handle_, nullptr); }
    void reset(HANDLE handle = nullptr) {
        if (valid()) CloseHandle(handle_);
        handle_ = handle;
    }
    // For out-parameters of the platform: the previous handle is closed first.
    HANDLE* receive() {
        reset();
        return &handle_;
    }

    // A second handle of our own to the same object, or an empty one.
    UniqueHandle duplicate(bool inheritable = false) const {
        HANDLE copy = nullptr;
        if (!valid() || !DuplicateHandle(GetCurrentProcess(), handle_, GetCurrentProcess(), &copy, 0,
                                         inheritable, DUPLICATE_SAME_ACCESS))
            return UniqueHandle();
        return UniqueHandle(copy);
    }

private:
    HANDLE handle_ = nullptr;
};

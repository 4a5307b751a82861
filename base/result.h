#pragma once

#include <string>
#include <utility>
#include <variant>

// Why something that can fail did fail: the system's error code (0 when the failure is not the
// system's) and a short text for the trace or the user.
struct Failure {
    unsigned long systemError = 0;
    std::string what;
};

// The one result type of the launcher: a value, or the reason there is none. Expected failures
// are results, never exceptions; ignoring one is a compile-time warning.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    const Failure& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

// A result with no value: success, or the reason for the failure.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failed_(true), failure_(std::move(failure)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return failure_; }

private:
    bool failed_ = false;
    Failure failure_;
};

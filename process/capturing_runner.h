#pragma once

#include <windows.h>

#include <string>

#include "process/process_runner.h"

// Keeps everything the child prints (the version probe reads the banner from it).
class CapturingProcessRunner : public ProcessRunner {
public:
    explicit CapturingProcessRunner(std::uint32_t flags);
    // A consistent copy of the text received so far, also while the reader still appends.
    std::string capturedOutput() const;

protected:
    void onOutput(const char* data, std::size_t length) override;

private:
    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    std::string capturedText_;
};

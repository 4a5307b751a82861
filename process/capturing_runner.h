#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "process/output_text.h"
#include "process/process_runner.h"

// Keeps everything the child prints (the version probe reads the banner from it), and keeps its
// trace lines (the command line, each chunk of output) for its owner instead of tracing them.
class CapturingProcessRunner : public ProcessRunner {
public:
    explicit CapturingProcessRunner(std::uint32_t flags);
    // Consistent copies of what was received so far, also while the reader still appends.
    std::string capturedOutput() const;
    std::vector<std::string> traceLines() const;

protected:
    void onOutput(const char* data, std::size_t length) override;
    void onTrace(const std::string& line) override;

private:
    AnsiOutputDecoder decoder_; // the reader thread's alone
    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    std::string capturedText_;
    std::vector<std::string> traceLines_;
};

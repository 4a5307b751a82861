#pragma once

#include "process/process_runner.h"

// Passes the application's console output to the trace and, with -d, to log.txt.
class ApplicationProcessRunner : public ProcessRunner {
public:
    explicit ApplicationProcessRunner(std::uint32_t flags);

protected:
    void onOutput(const char* data, std::size_t length) override;
};

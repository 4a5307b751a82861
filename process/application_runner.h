#pragma once

#include "base/unique_handle.h"
#include "process/process_runner.h"

// Passes the application's console output to the trace and, with -d, to log.txt; signals
// `outputArrived` at each chunk and `outputEnded` when the output has ended. The runner belongs
// to its reader thread, which may outlive the launch sequence: it keeps its own handles to the
// events and touches no state of the launch sequence.
class ApplicationProcessRunner : public ProcessRunner {
public:
    ApplicationProcessRunner(bool writeLogFile, UniqueHandle outputArrived, UniqueHandle outputEnded);

protected:
    void onOutput(const char* data, std::size_t length) override;

private:
    const bool writeLogFile_;
    const UniqueHandle outputArrived_;
    const UniqueHandle outputEnded_;
};

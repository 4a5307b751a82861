#pragma once

#include "base/unique_handle.h"
#include "process/process_runner.h"

// Passes the application's console output to the trace and, with -d, to log.txt, and signals
// `outputEnded` when the output has ended. The runner belongs to its reader thread, which may
// outlive the launch sequence: it keeps its own handle to the event and touches no state of
// the launch sequence.
class ApplicationProcessRunner : public ProcessRunner {
public:
    ApplicationProcessRunner(bool writeLogFile, UniqueHandle outputEnded);

protected:
    void onOutput(const char* data, std::size_t length) override;

private:
    const bool writeLogFile_;
    const UniqueHandle outputEnded_;
};

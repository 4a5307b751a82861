#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/unique_handle.h"
#include "process/output_tail.h"
#include "process/output_text.h"
#include "process/process_runner.h"

// The application's output as the launcher follows it: shared by the launch sequence, which
// waits on its events and reads its tail, and the application's reader thread, which may
// outlive the launch sequence (so it is shared, not owned by either).
class ApplicationOutput {
public:
    explicit ApplicationOutput(bool writeLogFile);
    ApplicationOutput(const ApplicationOutput&) = delete;
    ApplicationOutput& operator=(const ApplicationOutput&) = delete;

    // Signalled at each chunk (auto-reset), and once the output has ended (stays signalled).
    HANDLE arrivedEvent() const { return arrived_.get(); }
    HANDLE endedEvent() const { return ended_.get(); }
    [[nodiscard]] bool ready() const { return arrived_ && ended_; }
    // The last of the output so far, for the start-failure report.
    std::string lastOutput() const;

    // From the reader thread: the bytes go to log.txt as written (with -d), their text to the
    // trace and the tail.
    void received(const char* data, std::size_t length);
    void endOfOutput();

private:
    void keep(const std::string& text);

    const bool writeLogFile_;
    UniqueHandle arrived_;
    UniqueHandle ended_;
    AnsiOutputDecoder decoder_; // the reader thread's alone
    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    OutputTail tail_;
};

// Passes the application's console output on to its ApplicationOutput. The runner belongs to
// its reader thread and touches nothing of the launch sequence but that shared object.
class ApplicationProcessRunner : public ProcessRunner {
public:
    explicit ApplicationProcessRunner(std::shared_ptr<ApplicationOutput> output);

protected:
    void onOutput(const char* data, std::size_t length) override;

private:
    const std::shared_ptr<ApplicationOutput> output_;
};

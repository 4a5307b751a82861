#include "launcher/later_start.h"

#include <ntsecapi.h>
#include <shellapi.h>

#include "base/text_encoding.h"
#include "base/unique_handle.h"
#include "launcher/later_start_rules.h"
#include "launcher/single_instance_rules.h"
#include "launcher/user_only_security.h"
#include "trace/trace_log.h"
#include "ui/messages.h"

namespace {

constexpr DWORD RetryMilliseconds = 100;

DWORD remainingUntil(DWORD deadline) {
    LONG left = static_cast<LONG>(deadline - GetTickCount());
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

// Waits for an overlapped operation that `started` began, until the deadline; an operation
// still pending then is cancelled. True when it completed successfully.
bool completed(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, DWORD deadline, DWORD& transferred) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    if (WaitForSingleObject(overlapped.hEvent, remainingUntil(deadline)) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        GetOverlappedResult(pipe, &overlapped, &transferred, TRUE);
        return false;
    }
    return GetOverlappedResult(pipe, &overlapped, &transferred, FALSE) != FALSE;
}

// The pipe for one delivery: the user's only (and the system's), local clients only, and the
// first and only instance of its name, so that no other process can be its server.
UniqueHandle createPipe(const std::wstring& name, const std::string& userSid) {
    DWORD error = ERROR_INVALID_PARAMETER;
    // With the medium label first, so that a later start made elevated serves a normal
    // application; a start of low integrity may not give it, and goes without.
    for (bool mediumLabel : {true, false}) {
        UserOnlySecurity security(userSid, mediumLabel);
        if (!security.attributes()) continue;
        UniqueHandle pipe(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
                                           PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                                           static_cast<DWORD>(LaterStartMessageLimit), 16, 0, security.attributes()));
        error = GetLastError();
        if (pipe) return pipe;
    }
    SetLastError(error);
    return UniqueHandle();
}

// The pipe, once no other later start holds its name (each one delivers in turn).
UniqueHandle createPipeInTurn(const std::wstring& name, const std::string& userSid, DWORD deadline) {
    for (;;) {
        UniqueHandle pipe = createPipe(name, userSid);
        DWORD error = GetLastError();
        if (pipe || (error != ERROR_ACCESS_DENIED && error != ERROR_PIPE_BUSY) || remainingUntil(deadline) == 0)
            return pipe;
        Sleep(RetryMilliseconds);
    }
}

bool awaitClient(HANDLE pipe, HANDLE event, DWORD deadline) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event;
    if (ConnectNamedPipe(pipe, &overlapped)) return true;
    if (GetLastError() == ERROR_PIPE_CONNECTED) return true;
    DWORD ignored = 0;
    return completed(pipe, overlapped, FALSE, deadline, ignored);
}

bool writeWhole(HANDLE pipe, HANDLE event, const std::string& bytes, DWORD deadline) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = event;
        DWORD written = 0;
        BOOL started = WriteFile(pipe, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), nullptr, &overlapped);
        if (!completed(pipe, overlapped, started, deadline, written) || written == 0) return false;
        done += written;
    }
    return true;
}

bool readAnswer(HANDLE pipe, HANDLE event, char& answer, DWORD deadline) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event;
    DWORD read = 0;
    BOOL started = ReadFile(pipe, &answer, 1, nullptr, &overlapped);
    return completed(pipe, overlapped, started, deadline, read) && read == 1;
}

void traceNotDelivered(const std::string& why) {
    traceLog().trace("Later start: " + why + "; the arguments were not delivered");
}

} // namespace

std::string newLaterStartToken() {
    unsigned char random[LaterStartTokenLength / 2] = {};
    if (!RtlGenRandom(random, sizeof random)) return std::string();
    return laterStartToken(random);
}

std::vector<std::string> laterStartArguments(const std::string& tail) {
    std::vector<std::string> arguments;
    // A program name in front: the first word is split by other rules than the rest.
    std::wstring line = L"x " + widen(tail);
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(line.c_str(), &count);
    if (!words) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(narrow(std::wstring(words[i])));
    LocalFree(words);
    return arguments;
}

LaterStartOutcome deliverLaterStart(const std::string& token, DWORD applicationId, const std::string& userSid,
                                    const std::string& tail) {
    std::vector<std::string> arguments = laterStartArguments(tail);
    std::optional<std::string> message = laterStartMessage(arguments);
    if (!message) {
        std::string size = std::to_string(laterStartMessageLength(arguments));
        std::string limit = std::to_string(LaterStartMessageLimit);
        traceNotDelivered("the arguments take " + size + " bytes, more than " + limit);
        showError("The arguments of this start are too long to hand to the running application (" + size +
                  " bytes, at most " + limit + "). The running application was brought to the front without them.");
        return LaterStartOutcome::TooLarge;
    }
    std::string name = laterStartPipeName(token);
    if (name.empty()) {
        traceNotDelivered("the running application's marker names no channel");
        return LaterStartOutcome::NotDelivered;
    }
    DWORD deadline = GetTickCount() + LaterStartConnectMilliseconds;
    UniqueHandle pipe = createPipeInTurn(widen(name), userSid, deadline);
    if (!pipe) {
        traceNotDelivered("no pipe (error " + std::to_string(GetLastError()) + ")");
        return LaterStartOutcome::NotDelivered;
    }
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event) {
        traceNotDelivered("no event (error " + std::to_string(GetLastError()) + ")");
        return LaterStartOutcome::NotDelivered;
    }
    if (!awaitClient(pipe.get(), event.get(), deadline)) {
        traceNotDelivered("the running application does not listen");
        return LaterStartOutcome::NotDelivered;
    }
    ULONG client = 0;
    if (!GetNamedPipeClientProcessId(pipe.get(), &client) || (applicationId != 0 && client != applicationId)) {
        traceNotDelivered("process " + std::to_string(client) + ", not the running application, opened the pipe");
        DisconnectNamedPipe(pipe.get());
        return LaterStartOutcome::NotDelivered;
    }
    DWORD answerDeadline = GetTickCount() + LaterStartAnswerMilliseconds;
    char answer = 0;
    if (!writeWhole(pipe.get(), event.get(), *message, answerDeadline) ||
        !readAnswer(pipe.get(), event.get(), answer, answerDeadline)) {
        traceNotDelivered("the running application did not answer");
        DisconnectNamedPipe(pipe.get());
        return LaterStartOutcome::NotDelivered;
    }
    DisconnectNamedPipe(pipe.get());
    if (answer != LaterStartAccepted) {
        traceNotDelivered("the running application refused them");
        return LaterStartOutcome::NotDelivered;
    }
    traceLog().append("Later start: ").append(std::to_string(arguments.size()))
        .append(" arguments handed to the running application").endLine();
    return LaterStartOutcome::Delivered;
}

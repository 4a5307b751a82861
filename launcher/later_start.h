#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A later start of a single-instance launcher hands its arguments to the running application
// through a named pipe of its own making (see later_start_rules.h for the channel and message).

// How long a later start waits for the running application to open its pipe, and then for
// the application's answer.
constexpr DWORD LaterStartConnectMilliseconds = 3000;
constexpr DWORD LaterStartAnswerMilliseconds = 2000;

// A new random token for a marker; empty when the system gives no random bytes.
std::string newLaterStartToken();

// The arguments of a command-line tail, split as the application's runtime splits them.
std::vector<std::string> laterStartArguments(const std::string& tail);

enum class LaterStartOutcome { Delivered, NotDelivered, TooLarge };

// Hands the arguments of `tail` (the application's part of the command line, UTF-8) to the
// application listening on the pipe of `token`; only the process `applicationId` may take them
// (any process of the user while it is 0: still starting). Traces the outcome; a message too
// large is also shown to the user.
LaterStartOutcome deliverLaterStart(const std::string& token, DWORD applicationId, const std::string& userSid,
                                    const std::string& tail);

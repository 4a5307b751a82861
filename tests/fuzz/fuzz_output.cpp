// The application's output as the start-failure report keeps and shows it, and the two settings
// of the start watch and the download address, read from any bytes.
#include <cstdint>
#include <string>

#include "process/output_tail.h"
#include "ui/cannot_start_text.h"
#include "process/application_wait.h"
#include "ui/start_failure_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    OutputTail tail;
    // Pieces of any size, as reads of a pipe give them.
    for (std::size_t at = 0, piece = 1; at < bytes.size(); at += piece, piece = piece * 3 % 1021 + 1)
        tail.append(bytes.substr(at, piece));
    std::string kept = tail.text();
    if (kept.size() > OutputTail::MaxBytes) __builtin_trap();
    if (bytes.size() >= kept.size() && bytes.compare(bytes.size() - kept.size(), kept.size(), kept) != 0)
        __builtin_trap(); // the tail is the end of the output, nothing else
    std::string text = startFailureReportText(StartFailure{"p", 1, "j", "", "c", bytes});
    for (std::size_t at = 0; at < text.size(); ++at)
        if (text[at] == '\0' || (text[at] == '\n' && (at == 0 || text[at - 1] != '\r'))) __builtin_trap();
    if (startupCheckSeconds(bytes) > 86400) __builtin_trap();
    std::string address = downloadAddress(bytes);
    if (address != bytes && address != JavaDownloadUrl) __builtin_trap();
    return 0;
}

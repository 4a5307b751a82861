#include "configure/resources/file_io.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>

#include "base/system_error.h"
#include "base/unique_handle.h"
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

std::filesystem::path pathOf(const std::string& utf8) {
    std::u8string text(utf8.begin(), utf8.end());
    if (std::filesystem::path::preferred_separator == '/')
        for (char8_t& c : text)
            if (c == u8'\\') c = u8'/';
    return std::filesystem::path(text);
}

namespace {

// The system's code and text for the call that has just failed, taken before anything else can
// replace them.
Failure lastSystemFailure() {
#ifdef _WIN32
    DWORD error = GetLastError();
    return Failure{error, systemErrorText(error)};
#else
    int error = errno;
    return Failure{static_cast<unsigned long>(error), std::strerror(error)};
#endif
}

enum class ReadOutcome { Read, CannotRead, NotAFile, TooLarge };

#ifdef _WIN32
ReadOutcome readBounded(const std::string& path, std::uintmax_t limit, Bytes& bytes, Failure& reason) {
    // Shared for writing too: an editor that holds the settings file open must not stop the tool.
    UniqueHandle file(CreateFileW(pathOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return reason = lastSystemFailure(), ReadOutcome::CannotRead;
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return ReadOutcome::NotAFile; // a console, pipe or device
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return reason = lastSystemFailure(), ReadOutcome::CannotRead;
    if (static_cast<std::uintmax_t>(size.QuadPart) > limit) return ReadOutcome::TooLarge;
    std::uint8_t buffer[65536];
    DWORD count = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) {
        if (count == 0) return ReadOutcome::Read;
        if (bytes.size() + count > limit) return ReadOutcome::TooLarge;
        bytes.insert(bytes.end(), buffer, buffer + count);
    }
    reason = lastSystemFailure();
    return ReadOutcome::CannotRead;
}
#else
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (descriptor_ >= 0) close(descriptor_);
    }
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

ReadOutcome readBounded(const std::string& path, std::uintmax_t limit, Bytes& bytes, Failure& reason) {
    // Opened without waiting: opening a FIFO for reading would wait for a writer.
    FileDescriptor file(open(pathOf(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) return reason = lastSystemFailure(), ReadOutcome::CannotRead;
    struct stat status {};
    if (fstat(file.get(), &status) != 0) return reason = lastSystemFailure(), ReadOutcome::CannotRead;
    if (!S_ISREG(status.st_mode)) return ReadOutcome::NotAFile;
    if (static_cast<std::uintmax_t>(status.st_size) > limit) return ReadOutcome::TooLarge;
    std::uint8_t buffer[65536];
    while (true) {
        ssize_t count = read(file.get(), buffer, sizeof buffer);
        if (count < 0) return reason = lastSystemFailure(), ReadOutcome::CannotRead;
        if (count == 0) return ReadOutcome::Read;
        if (bytes.size() + static_cast<std::size_t>(count) > limit) return ReadOutcome::TooLarge;
        bytes.insert(bytes.end(), buffer, buffer + count);
    }
}
#endif

} // namespace

Result<Bytes> readInputFile(const std::string& path, const InputFile& kind) {
    Bytes bytes;
    Failure reason;
    switch (readBounded(path, kind.limit, bytes, reason)) {
    case ReadOutcome::Read:
        return bytes;
    case ReadOutcome::CannotRead:
        break;
    case ReadOutcome::NotAFile:
        return Failure{0, path + ": " + kind.what + " is not a regular file"};
    case ReadOutcome::TooLarge:
        return Failure{0, path + ": " + kind.what + " is larger than " + kind.limitText};
    }
    return Failure{reason.systemError, path + ": cannot read " + kind.what + " (" + reason.what + ")"};
}

namespace {

// Creates the file (`exclusive`: only where nothing has that name, never through a link; else
// in place of one that is there) and writes all the bytes. The system's code and reason of the
// first call that failed; a file is closed whatever the writes did, and `created` says whether
// there is one.
Result<void> createAndWrite(const std::string& path, const Bytes& bytes, bool exclusive, bool& created) {
    created = false;
    Failure reason;
#ifdef _WIN32
    HANDLE file = CreateFileW(pathOf(path).c_str(), GENERIC_WRITE, 0, nullptr, exclusive ? CREATE_NEW : CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastSystemFailure();
    created = true;
    std::size_t written = 0;
    while (written < bytes.size()) {
        DWORD now = 0;
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
        if (!WriteFile(file, bytes.data() + written, chunk, &now, nullptr) || !now) {
            reason = lastSystemFailure();
            break;
        }
        written += now;
    }
    // Closed whatever the writes did: an open handle would keep the file from being removed.
    if (!CloseHandle(file) && written == bytes.size()) reason = lastSystemFailure();
#else
    int file = exclusive ? open(pathOf(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0755)
                         : open(pathOf(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (file < 0) return lastSystemFailure();
    created = true;
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t now = write(file, bytes.data() + written, bytes.size() - written);
        if (now <= 0) {
            reason = now < 0 ? lastSystemFailure() : Failure{0, "nothing more could be written"};
            break;
        }
        written += static_cast<std::size_t>(now);
    }
    if (close(file) != 0 && written == bytes.size()) reason = lastSystemFailure();
#endif
    if (written == bytes.size() && reason.what.empty()) return {};
    return reason;
}

} // namespace

Result<void> writeFileBytes(const std::string& path, const Bytes& bytes) {
    bool created = false;
    Result<void> written = createAndWrite(path, bytes, false, created);
    if (written) return {};
    return Failure{written.failure().systemError, "cannot write " + path + " (" + written.failure().what + ")"};
}

Result<void> writeNewFile(const std::string& path, const Bytes& bytes) {
    bool created = false;
    Result<void> written = createAndWrite(path, bytes, true, created);
    if (written) return {};
    if (created) {
        std::error_code ignored;
        std::filesystem::remove(pathOf(path), ignored);
    }
    return written;
}

bool nameTaken(const Failure& failure) {
#ifdef _WIN32
    return failure.systemError == ERROR_FILE_EXISTS || failure.systemError == ERROR_ALREADY_EXISTS;
#else
    // O_EXCL also meets a link at the name with EEXIST.
    return failure.systemError == EEXIST;
#endif
}

bool isReadOnly(const std::string& path) {
    std::error_code error;
    std::filesystem::perms perms = std::filesystem::status(pathOf(path), error).permissions();
    return !error && (perms & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

#include "configure/resources/file_io.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

std::filesystem::path pathOf(const std::string& utf8) {
    std::u8string text(utf8.begin(), utf8.end());
    if (std::filesystem::path::preferred_separator == '/')
        for (char8_t& c : text)
            if (c == u8'\\') c = u8'/';
    return std::filesystem::path(text);
}

std::optional<Bytes> readFileBytes(const std::string& path) {
    std::ifstream in(pathOf(path), std::ios::binary);
    if (!in) return std::nullopt;
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool writeFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(pathOf(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool writeNewFile(const std::string& path, const Bytes& bytes) {
#ifdef _WIN32
    HANDLE file = CreateFileW(pathOf(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        DWORD now = 0;
        if (!WriteFile(file, bytes.data() + written, static_cast<DWORD>(bytes.size() - written), &now, nullptr) || !now) break;
        written += now;
    }
    bool complete = written == bytes.size() && CloseHandle(file);
#else
    int file = open(pathOf(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0755);
    if (file < 0) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t now = write(file, bytes.data() + written, bytes.size() - written);
        if (now <= 0) break;
        written += static_cast<std::size_t>(now);
    }
    bool complete = written == bytes.size();
    complete = close(file) == 0 && complete;
#endif
    if (!complete) {
        std::error_code ignored;
        std::filesystem::remove(pathOf(path), ignored);
    }
    return complete;
}

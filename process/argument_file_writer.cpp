#include "process/argument_file_writer.h"

#include "base/text_encoding.h"
#include "process/argument_file.h"
#include "process/java_paths.h"
#include "trace/trace_log.h"

namespace {

// The runtime reads its argument files first thing; this leaves a busy system ample time.
constexpr ULONGLONG ReadingTimeMs = 5000;

} // namespace

Result<std::unique_ptr<ArgumentFile>> ArgumentFile::write(const std::vector<std::string>& arguments) {
    wchar_t folder[MAX_PATH + 1] = {};
    DWORD folderLength = GetTempPathW(MAX_PATH + 1, folder);
    wchar_t name[MAX_PATH] = {};
    if (folderLength == 0 || folderLength > MAX_PATH || GetTempFileNameW(folder, L"arg", 0, name) == 0)
        return Failure{GetLastError(), "cannot create an argument file in the temporary folder"};
    std::unique_ptr<ArgumentFile> file(new ArgumentFile(narrow(name)));
    std::string text = argumentFileText(arguments);
    if (!fitsCodePage(CP_ACP, text))
        traceLog().trace("The argument file holds characters the ANSI code page lacks: Java reads them as '?'");
    std::string bytes = codePageFromUtf8(CP_ACP, text);
    UniqueHandle handle(CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    DWORD written = 0;
    if (!handle || !WriteFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        return Failure{GetLastError(), "cannot write the argument file " + file->path_};
    handle.reset();
    // The temporary folder lies in the user's profile, whose name may be one the code page lacks.
    file->path_ = javaReadablePath(file->path_);
    traceLog().trace("Argument file: " + file->path_);
    return file;
}

void ArgumentFile::givenTo(HANDLE process) {
    HANDLE copy = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0))
        reader_.reset(copy);
    readerStartedAt_ = GetTickCount64();
}

ArgumentFile::~ArgumentFile() {
    if (reader_) {
        ULONGLONG ran = GetTickCount64() - readerStartedAt_;
        if (ran < ReadingTimeMs) WaitForSingleObject(reader_.get(), static_cast<DWORD>(ReadingTimeMs - ran));
    }
    DeleteFileW(widen(path_).c_str());
}

#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/result.h"
#include "base/unique_handle.h"

// An argument file for the runtime in the user's temporary folder, removed when this goes. The
// runtime reads it as soon as it starts, so it is kept until each runtime that was given it has
// run a few seconds or ended, whichever comes first.
class ArgumentFile {
public:
    // Written in the ANSI code page, the encoding the java tool reads argument files in (its
    // "system default encoding"); a character the code page lacks is traced.
    static Result<std::unique_ptr<ArgumentFile>> write(const std::vector<std::string>& arguments);
    ~ArgumentFile();
    ArgumentFile(const ArgumentFile&) = delete;
    ArgumentFile& operator=(const ArgumentFile&) = delete;

    // The file as the command line names it (in a form Java can read).
    const std::string& path() const { return path_; }
    // A runtime started with the file: it is kept for that one's start.
    void givenTo(HANDLE process);

private:
    explicit ArgumentFile(std::string path) : path_(std::move(path)) {}
    std::string path_;
    UniqueHandle reader_;
    ULONGLONG readerStartedAt_ = 0;
};

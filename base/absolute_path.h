#pragma once

#include <string>

// A path that names its place whole: a drive and its root (C:\..., C:/...) or a network share
// (\\server\share\...). Anything else is taken relative to some folder.
inline bool isAbsolutePath(const std::string& path) {
    auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 2 && separator(path[0]) && separator(path[1])) return true;
    bool letter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return letter && path[1] == ':' && separator(path[2]);
}

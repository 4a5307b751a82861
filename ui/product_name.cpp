#include "ui/product_name.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "base/text_encoding.h"
#include "ui/start_failure_text.h"

namespace {

// The version resource's ProductName in the language the resource names first, or in US English.
std::string productNameFromVersion(const std::wstring& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return std::string();
    std::vector<BYTE> version(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, version.data())) return std::string();
    std::vector<std::wstring> languages;
    struct Translation {
        WORD language;
        WORD codePage;
    }* translations = nullptr;
    UINT length = 0;
    if (VerQueryValueW(version.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                       &length) &&
        length >= sizeof(Translation)) {
        languages.push_back(widen("\\StringFileInfo\\" + hexText(translations[0].language, 4) +
                                  hexText(translations[0].codePage, 4) + "\\ProductName"));
    }
    languages.push_back(L"\\StringFileInfo\\040904B0\\ProductName");
    languages.push_back(L"\\StringFileInfo\\040904E4\\ProductName");
    for (const std::wstring& key : languages) {
        wchar_t* value = nullptr;
        if (VerQueryValueW(version.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) && value &&
            length > 1)
            return narrow(value, wcsnlen(value, length));
    }
    return std::string();
}

} // namespace

std::string configuredProductName(const std::string& executablePath) {
    return productNameFromVersion(widen(executablePath));
}

std::string productNameOf(const std::string& executablePath) {
    std::string name = configuredProductName(executablePath);
    if (!name.empty()) return name;
    std::size_t slash = executablePath.find_last_of("\\/");
    return slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
}

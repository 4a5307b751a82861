// Stores a file as a bitmap resource of an executable, as the configuration tool stores splash
// pictures:   add_bitmap EXECUTABLE ID FILE
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fputs("usage: add_bitmap EXECUTABLE ID FILE\n", stderr);
        return 2;
    }
    std::vector<char> bytes;
    if (FILE* file = _wfopen(argv[3], L"rb")) {
        char buffer[65536];
        for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.insert(bytes.end(), buffer, buffer + read);
        std::fclose(file);
    } else {
        std::fputs("cannot read the file\n", stderr);
        return 1;
    }
    HANDLE update = BeginUpdateResourceW(argv[1], FALSE);
    WORD id = static_cast<WORD>(std::wcstoul(argv[2], nullptr, 10));
    if (!update ||
        !UpdateResourceW(update, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(id), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                         bytes.data(), static_cast<DWORD>(bytes.size())) ||
        !EndUpdateResourceW(update, FALSE)) {
        std::fprintf(stderr, "cannot update the executable: error %lu\n", GetLastError());
        return 1;
    }
    return 0;
}

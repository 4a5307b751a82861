// The C++ library's last word when it cannot go on (no memory, a length beyond its limits).
//
// No frame of the launcher catches an exception, so each of these ends in std::terminate and
// std::abort whatever it throws. The library's own versions get there by building exception
// objects whose messages are copy-on-write strings (with the second string implementation and
// its locale support) and a terminate handler that demangles type names with a printf family
// of its own: about half of the executable, for text written to a standard error that a window
// program does not have. These end the process the same way, with one line on the debugger
// output where the launcher's trace goes.
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <new>
#include <stdexcept>

namespace {

[[noreturn]] void endLauncher(const char* why) {
    wchar_t line[160] = L"The C++ library cannot go on: ";
    size_t at = wcslen(line);
    // The library's texts are ASCII; nothing here may allocate.
    for (; why && *why && at + 1 < sizeof line / sizeof line[0]; ++why, ++at) line[at] = static_cast<unsigned char>(*why);
    line[at] = L'\0';
    OutputDebugStringW(line);
    std::abort();
}

} // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() { endLauncher("terminate called"); }
} // namespace __gnu_cxx

// Every function of the library's one file of these, so that file is never linked beside them.
namespace std {
void __throw_bad_exception() { endLauncher("bad_exception"); }
void __throw_bad_alloc() { endLauncher("bad_alloc"); }
void __throw_bad_array_new_length() { endLauncher("bad_array_new_length"); }
void __throw_bad_cast() { endLauncher("bad_cast"); }
void __throw_bad_typeid() { endLauncher("bad_typeid"); }
void __throw_logic_error(const char* what) { endLauncher(what); }
void __throw_domain_error(const char* what) { endLauncher(what); }
void __throw_invalid_argument(const char* what) { endLauncher(what); }
void __throw_length_error(const char* what) { endLauncher(what); }
void __throw_out_of_range(const char* what) { endLauncher(what); }
void __throw_out_of_range_fmt(const char* what, ...) { endLauncher(what); }
void __throw_runtime_error(const char* what) { endLauncher(what); }
void __throw_range_error(const char* what) { endLauncher(what); }
void __throw_overflow_error(const char* what) { endLauncher(what); }
void __throw_underflow_error(const char* what) { endLauncher(what); }
} // namespace std

#include "app/windows_console.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>

namespace {
UINT console_code_page = 0;

bool Redirected(DWORD stream) {
    return GetFileType(GetStdHandle(stream)) != FILE_TYPE_UNKNOWN;
}
} // namespace

void WriteToStartingConsole() {
    const bool output = Redirected(STD_OUTPUT_HANDLE);
    const bool errors = Redirected(STD_ERROR_HANDLE);
    if ((output && errors) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!output)
        std::freopen("CONOUT$", "w", stdout);
    if (!errors)
        std::freopen("CONOUT$", "w", stderr);
    console_code_page = GetConsoleOutputCP();
    SetConsoleOutputCP(GetACP());
    std::atexit([] { SetConsoleOutputCP(console_code_page); });
}

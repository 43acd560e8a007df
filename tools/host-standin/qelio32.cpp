// qelio32: the host stand-in's interface library. It hands each request to the chart program's
// window as WM_COPYDATA and names the message the chart acknowledges requests with.
#include "Standin.h"

#include <cstring>
#include <windows.h>

// Exported as _PostQELMessage@8 and _GetRegisteredQELMessage@0 by the .def files, so that the
// 64-bit build carries the host's names too.
extern "C" int __stdcall StandinPost(unsigned int code, const char* text) {
    HWND chart = FindWindowA(nullptr, "QEL Charts");
    if (!chart || !text) return 0;
    COPYDATASTRUCT data{};
    data.dwData = code;
    data.cbData = static_cast<DWORD>(std::strlen(text) + 1);
    data.lpData = const_cast<char*>(text);
    DWORD_PTR taken = 0;
    // Below the programs' own time limit for a post, so a hung chart reads as a refusal.
    if (!SendMessageTimeoutA(chart, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, 4000, &taken))
        return 0;
    return taken == TRUE ? 1 : 0;
}

extern "C" unsigned int __stdcall StandinRegisteredMessage() {
    return RegisterWindowMessageA(standin::AckMessageName);
}

// qelbridge: run under the host's Wine, it loads the host's interface library, posts requests,
// counts the host's acknowledgements and drives the chart program's windows for the programs,
// which talk to it over standard input and output (see hostlink/BridgeProtocol.h).
#include "hostlink/BridgeProtocol.h"
#include "hostlink/Keys.h"
#include "platform/Text.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <windows.h>

namespace {

using qelbridge::JoinFields;

using PostEntry = int(__stdcall*)(unsigned int code, const char* text);
using RegisteredEntry = unsigned int(__stdcall*)();

HMODULE g_library = nullptr;
PostEntry g_post = nullptr;
RegisteredEntry g_registered = nullptr;
UINT g_ackMessage = 0;
int g_acks = 0;
HWND g_window = nullptr;

LRESULT CALLBACK BridgeWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_ackMessage != 0 && msg == g_ackMessage) {
        ++g_acks;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// A hidden top-level window, not a message-only one: the host may broadcast its
// acknowledgements, and broadcasts reach only top-level windows.
void CreateBridgeWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BridgeWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZoltQelBridge";
    RegisterClassA(&wc);
    g_window = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                               wc.hInstance, nullptr);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // Only those sent to its own window: a broadcast reaches every top-level window of the
        // thread, Wine's own hidden ones too.
        if (msg.message == g_ackMessage && g_ackMessage != 0 && msg.hwnd == g_window)
            ++g_acks;
        else
            DispatchMessageA(&msg);
    }
}

// Pumps messages for about `ms` milliseconds.
void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        Pump();
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

bool LoadLibraryOnce(const std::string& path, std::string& reason) {
    if (g_library) return true;
    HMODULE h = LoadLibraryA(path.c_str());
    if (!h) {
        reason = "the host library " + path + " could not be loaded (error " +
                 std::to_string(GetLastError()) + ")";
        return false;
    }
    auto post = reinterpret_cast<PostEntry>(
        reinterpret_cast<void*>(GetProcAddress(h, "_PostQELMessage@8")));
    auto registered = reinterpret_cast<RegisteredEntry>(
        reinterpret_cast<void*>(GetProcAddress(h, "_GetRegisteredQELMessage@0")));
    if (!post || !registered) {
        reason = std::string("the host library has no ") +
                 (!post ? "_PostQELMessage@8" : "_GetRegisteredQELMessage@0");
        FreeLibrary(h);
        return false;
    }
    g_library = h, g_post = post, g_registered = registered;
    return true;
}

struct Search {
    std::string title;
    HWND found = nullptr;
};

BOOL CALLBACK EnumProc(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    // A buffer of the title's length + 1 cuts a longer title down to an equal length, so the
    // full length is asked for first: "QEL Charts - IBM" is not "QEL Charts".
    if (GetWindowTextLengthA(hwnd) != static_cast<int>(s->title.size())) return TRUE;
    std::string buf(s->title.size() + 1, '\0');
    int n = GetWindowTextA(hwnd, buf.data(), static_cast<int>(buf.size()));
    if (n == static_cast<int>(s->title.size()) &&
        platform::EqualNoCase(buf.substr(0, n), s->title)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindByTitle(const std::string& title) {
    Search s{title};
    EnumWindows(EnumProc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND Window(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoull(text.c_str(), nullptr, 10)));
}

std::string Number(HWND w) {
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(w)));
}

std::string Start(const std::string& program, const std::string& title, DWORD seconds) {
    std::string dir = program.substr(0, program.find_last_of("\\/") + 1);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE,
                        DETACHED_PROCESS | NORMAL_PRIORITY_CLASS, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &pi))
        return "0";
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DWORD start = GetTickCount();
    HWND w = nullptr;
    while (!(w = FindByTitle(title)) && GetTickCount() - start < seconds * 1000) PumpFor(50);
    return Number(w);
}

void SendKeysTo(HWND target, const std::string& keys) {
    if (GetForegroundWindow() != target) SetForegroundWindow(target);
    auto scan = [](char c) { return static_cast<int>(VkKeyScanA(c)); };
    for (const hostlink::KeyEvent& e : hostlink::WalkKeys(keys, scan)) {
        BYTE vk = static_cast<BYTE>(e.virtualKey);
        BYTE sc = static_cast<BYTE>(MapVirtualKeyA(vk, 0));
        keybd_event(vk, sc, e.up ? KEYEVENTF_KEYUP : 0, 0);
    }
}

std::string Handle(const std::vector<std::string>& f) {
    const std::string& cmd = f[0];
    auto arg = [&](std::size_t i) { return i < f.size() ? f[i] : std::string(); };
    std::string reason;
    if (cmd == "load") return LoadLibraryOnce(arg(1), reason) ? "ok\t1" : "ok\t0\t" + reason;
    if (cmd == "post") {
        if (!LoadLibraryOnce(arg(1), reason)) return JoinFields({"ok", "0", reason});
        return g_post(static_cast<unsigned>(std::atoi(arg(2).c_str())) & 0xFFFF, arg(3).c_str()) ==
                       1
                   ? "ok\t1"
                   : "ok\t0";
    }
    if (cmd == "postwait") {
        if (!LoadLibraryOnce(arg(1), reason)) return JoinFields({"ok", "0", "0", reason});
        g_ackMessage = g_registered();
        g_acks = 0;
        if (g_post(1, arg(2).c_str()) != 1) return "ok\t0\t0";
        DWORD start = GetTickCount();
        while (g_acks < 2 && GetTickCount() - start < 3000) {
            Pump();
            Sleep(5);
        }
        return "ok\t1\t" + std::to_string(g_acks);
    }
    if (cmd == "find") return "ok\t" + Number(FindByTitle(arg(1)));
    if (cmd == "start")
        return "ok\t" + Start(arg(1), arg(2), static_cast<DWORD>(std::atoi(arg(3).c_str())));
    if (cmd == "activate") {
        HWND w = Window(arg(1));
        if (IsIconic(w)) ShowWindow(w, SW_RESTORE);
        SetForegroundWindow(w);
        return "ok";
    }
    if (cmd == "placement") {
        HWND w = Window(arg(1));
        RECT r{};
        GetWindowRect(w, &r);
        return "ok\t" + std::to_string(r.left) + "\t" + std::to_string(r.top) + "\t" +
               std::to_string(r.right - r.left) + "\t" + std::to_string(r.bottom - r.top) + "\t" +
               (IsZoomed(w) ? "1" : "0");
    }
    if (cmd == "move") {
        MoveWindow(Window(arg(1)), std::atoi(arg(2).c_str()), std::atoi(arg(3).c_str()),
                   std::atoi(arg(4).c_str()), std::atoi(arg(5).c_str()), TRUE);
        return "ok";
    }
    if (cmd == "shownormal" || cmd == "showmax") {
        ShowWindow(Window(arg(1)), cmd == "showmax" ? SW_MAXIMIZE : SW_SHOWNORMAL);
        return "ok";
    }
    if (cmd == "close") {
        DWORD start = GetTickCount(), limit = static_cast<DWORD>(std::atoi(arg(2).c_str())) * 1000;
        int closed = 0;
        HWND w;
        while ((w = FindWindowA(nullptr, arg(1).c_str())) && GetTickCount() - start < limit) {
            PostMessageA(w, WM_CLOSE, 0, 0);
            ++closed;
            PumpFor(100);
        }
        return "ok\t" + std::to_string(closed);
    }
    if (cmd == "mdiclient") {
        for (HWND c = GetWindow(Window(arg(1)), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            char cls[40] = {};
            GetClassNameA(c, cls, sizeof cls);
            if (std::string(cls) == "MDIClient") return "ok\t" + Number(c);
        }
        return "ok\t0";
    }
    if (cmd == "childtitle") {
        char title[40] = {};
        HWND child = GetWindow(Window(arg(1)), GW_CHILD);
        if (child) GetWindowTextA(child, title, sizeof title);
        return JoinFields({"ok", title});
    }
    if (cmd == "keys") {
        SendKeysTo(Window(arg(1)), arg(2));
        return "ok";
    }
    if (cmd == "screen")
        return "ok\t" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "\t" +
               std::to_string(GetSystemMetrics(SM_CYSCREEN));
    return JoinFields({"err", "unknown request " + cmd});
}

} // namespace

int main() {
    CreateBridgeWindow();
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> fields = qelbridge::SplitFields(line);
        std::string answer = fields[0].empty() ? std::string("err\tempty request") : Handle(fields);
        std::fputs((answer + "\n").c_str(), stdout);
        std::fflush(stdout);
        Pump();
    }
    return 0;
}

// qelch32: the host stand-in's chart program, run under Wine for tests, the demo and users
// without the host. An MDI frame "QEL Charts" whose children chart tickers from the host's data
// directories, titled with the cursor's day and its rating from ratings.txt.
#include "Standin.h"
#include "hostdb/HostPath.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <windows.h>

namespace {

// Switches for tests, read from standin.ini [standin] at start.
struct Options {
    int acks = 2;      // acknowledgements broadcast per request
    int slowStart = 0; // seconds before the window opens
    bool noMdiClient = false;
    bool neverShows = false; // requests to show a ticker are acknowledged but not carried out
    bool minimised = false;  // the frame starts minimised
    std::string title = "QEL Charts"; // the frame's title, for tests of the title search
};

struct Chart {
    std::string symbol; // as last requested
    std::vector<int> bars;
    std::vector<float> closes;
    std::size_t cursor = 0;
};

std::string g_folder; // the program's folder, with its backslash
Options g_options;
standin::Ratings g_ratings;
HWND g_frame = nullptr, g_mdi = nullptr;
UINT g_ackMessage = 0;
std::map<HWND, Chart> g_charts;

const char* const FrameClass = "QelStandinFrame";
const char* const ChartClass = "QelStandinChart";

void Log(const std::string& line) {
    if (FILE* f = std::fopen((g_folder + "standin.log").c_str(), "ab")) {
        std::fputs((line + "\r\n").c_str(), f);
        std::fclose(f);
    }
}

std::string ReadText(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && text.size() < (8u << 20))
            text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

std::string WindowsFile(const char* name) {
    char dir[MAX_PATH] = {};
    GetWindowsDirectoryA(dir, MAX_PATH);
    return hostdb::JoinHostPath(dir, name);
}

std::string Setting(const std::string& file, const char* section, const char* key) {
    char value[4096] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

// SYMBOL.DTA in the first data directory that has it.
std::string TickerFilePath(const std::string& symbol) {
    std::string name;
    for (char c : symbol) name += platform::AsciiUpper(c);
    const std::string paths = Setting(WindowsFile("Qel32.Ini"), "PATHS", "EquityPath");
    for (const std::string& dir : hostdb::SearchPathDirectories(paths)) {
        std::string path = hostdb::JoinHostPath(dir, name + ".DTA");
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
    }
    return {};
}

void Retitle(HWND child) {
    const Chart& c = g_charts[child];
    std::string title =
        c.bars.empty() ? c.symbol : standin::ChartTitle(c.symbol, c.bars[c.cursor], g_ratings);
    SetWindowTextA(child, title.c_str());
    InvalidateRect(child, nullptr, TRUE);
}

// A chart fills the MDI client without being maximised: a maximised child's title would join
// the frame's, and the frame must keep its own.
void FillClient(HWND child) {
    RECT r{};
    GetClientRect(g_mdi, &r);
    MoveWindow(child, 0, 0, r.right, r.bottom, TRUE);
}

void ShowTicker(const std::string& symbol) {
    HWND child = nullptr;
    for (auto& [w, c] : g_charts)
        if (platform::EqualNoCase(c.symbol, symbol)) child = w;
    if (!child) {
        MDICREATESTRUCTA mc{};
        mc.szClass = ChartClass;
        mc.szTitle = symbol.c_str();
        mc.hOwner = GetModuleHandleA(nullptr);
        child = reinterpret_cast<HWND>(
            SendMessageA(g_mdi, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mc)));
        if (!child) return;
        Chart& c = g_charts[child];
        hostdb::TickerFile ticker;
        ticker.SetFileName(TickerFilePath(symbol));
        c.bars = standin::ChartBars(ticker);
        for (int day : c.bars) {
            ticker.SetDay(day);
            c.closes.push_back(ticker.Close());
        }
    }
    Chart& c = g_charts[child];
    c.symbol = symbol;
    c.cursor = c.bars.empty() ? 0 : c.bars.size() - 1;
    SendMessageA(g_mdi, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
    FillClient(child);
    Retitle(child);
}

// The closes as a line and the cursor as an upright line, for a person watching the demo.
void PaintChart(HWND w, HDC dc) {
    const Chart& c = g_charts[w];
    RECT r{};
    GetClientRect(w, &r);
    if (c.closes.size() < 2 || r.right < 4 || r.bottom < 4) return;
    auto [lo, hi] = std::minmax_element(c.closes.begin(), c.closes.end());
    const float span = *hi > *lo ? *hi - *lo : 1;
    auto x = [&](std::size_t i) {
        return static_cast<int>(i * (r.right - 1) / (c.closes.size() - 1));
    };
    auto y = [&](float v) { return static_cast<int>((*hi - v) / span * (r.bottom - 1)); };
    MoveToEx(dc, x(0), y(c.closes[0]), nullptr);
    for (std::size_t i = 1; i < c.closes.size(); ++i) LineTo(dc, x(i), y(c.closes[i]));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(200, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x(c.cursor), 0, nullptr);
    LineTo(dc, x(c.cursor), r.bottom);
    SelectObject(dc, old);
    DeleteObject(pen);
}

LRESULT CALLBACK ChartProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_KEYDOWN: {
        Log("key " + std::to_string(wp));
        Chart& c = g_charts[w];
        if (wp == VK_LEFT && c.cursor > 0) --c.cursor, Retitle(w);
        if (wp == VK_RIGHT && c.cursor + 1 < c.bars.size()) ++c.cursor, Retitle(w);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        PaintChart(w, dc);
        EndPaint(w, &ps);
        return 0;
    }
    case WM_NCDESTROY: g_charts.erase(w); break;
    }
    return DefMDIChildProcA(w, msg, wp, lp);
}

LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        std::string text;
        if (data->lpData) text.assign(static_cast<const char*>(data->lpData), data->cbData);
        text = text.substr(0, text.find('\0'));
        const int code = static_cast<int>(data->dwData);
        Log("request " + std::to_string(code) + " " + text + (IsIconic(w) ? " (minimised)" : ""));
        if (code == 1 && g_mdi && !g_options.neverShows) ShowTicker(text);
        for (int i = 0; i < g_options.acks; ++i)
            PostMessageA(HWND_BROADCAST, g_ackMessage, static_cast<WPARAM>(code), 0);
        return TRUE;
    }
    case WM_SIZE: {
        LRESULT r = DefFrameProcA(w, g_mdi, msg, wp, lp); // sizes the MDI client first
        for (auto& [child, chart] : g_charts) FillClient(child);
        return r;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefFrameProcA(w, g_mdi, msg, wp, lp);
}

bool CreateWindows(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.lpfnWndProc = FrameProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = FrameClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = ChartProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = ChartClass;
    RegisterClassA(&wc);

    g_frame = CreateWindowExA(0, FrameClass, g_options.title.c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                              800, 500, nullptr, nullptr, instance, nullptr);
    if (!g_frame) return false;
    if (!g_options.noMdiClient) {
        CLIENTCREATESTRUCT cc{};
        RECT r{};
        GetClientRect(g_frame, &r);
        g_mdi = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, r.right, r.bottom,
                                g_frame, nullptr, instance, &cc);
    }
    ShowWindow(g_frame, g_options.minimised ? SW_SHOWMINIMIZED : SW_SHOW);
    UpdateWindow(g_frame);
    return true;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    g_folder = exe;
    g_folder.erase(g_folder.find_last_of("\\/") + 1);

    const std::string ini = g_folder + "standin.ini";
    auto option = [&](const char* key, int fallback) {
        return static_cast<int>(GetPrivateProfileIntA("standin", key, fallback, ini.c_str()));
    };
    g_options.acks = std::clamp(option("acks", 2), 0, 10);
    g_options.slowStart = std::clamp(option("slowstart", 0), 0, 3600);
    g_options.noMdiClient = option("nomdiclient", 0) != 0;
    g_options.neverShows = option("nevershows", 0) != 0;
    g_options.minimised = option("minimised", 0) != 0;
    const std::string title = Setting(ini, "standin", "title");
    if (!title.empty()) g_options.title = title;

    Log("start indicators=" + Setting(WindowsFile("QelChart.Ini"), "PROCHARTS", "indicators"));
    if (g_options.slowStart > 0) Sleep(static_cast<DWORD>(g_options.slowStart) * 1000);
    g_ratings = standin::ParseRatings(ReadText(g_folder + "ratings.txt"));
    g_ackMessage = RegisterWindowMessageA(standin::AckMessageName);
    if (!CreateWindows(instance)) return 1;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (g_mdi && TranslateMDISysAccel(g_mdi, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

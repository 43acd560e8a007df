#include "hostlink/BridgeLink.h"

#include "hostlink/BridgeProtocol.h"
#include "platform/Profile.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace hostlink {

namespace {

constexpr double RequestSeconds = 5;
// The first request also waits for Wine to start, which may first set up its prefix.
constexpr double FirstRequestSeconds = 60;

std::uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::string Number(WindowId w) { return std::to_string(w); }

WindowId ToWindow(const std::string& text) {
    return static_cast<WindowId>(std::strtoull(text.c_str(), nullptr, 10));
}

} // namespace

std::filesystem::path BridgeDirectory(const std::filesystem::path& executable) {
    const std::filesystem::path dir = executable.parent_path();
    const std::filesystem::path candidates[] = {dir, dir.parent_path() / "share" / "zolt",
                                                ZOLT_BUILD_BRIDGE_DIR};
    for (const std::filesystem::path& c : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(c / "qelbridge64.exe", ec) ||
            std::filesystem::is_regular_file(c / "qelbridge32.exe", ec))
            return c;
    }
    return {};
}

BridgeSetup HostBridge(const std::filesystem::path& executable, const platform::Directories& dirs,
                       const std::string& hostLibraryPath) {
    return BridgeSetup{BridgeDirectory(executable), dirs.winePrefix,
                       dirs.LocalPath(hostLibraryPath), ""};
}

int PortableExecutableBits(const std::filesystem::path& file) {
    std::string reason;
    int fd = platform::OpenRegularFile(file, reason);
    if (fd < 0) return 0;
    unsigned char head[64], pe[6];
    bool ok = ::pread(fd, head, sizeof head, 0) == sizeof head && head[0] == 'M' && head[1] == 'Z';
    std::uint32_t at = ok ? Le32(head + 0x3C) : 0;
    ok = ok && ::pread(fd, pe, sizeof pe, at) == sizeof pe && std::memcmp(pe, "PE\0\0", 4) == 0;
    ::close(fd);
    if (!ok) return 0;
    int machine = pe[4] | (pe[5] << 8);
    return machine == 0x14C ? 32 : machine == 0x8664 ? 64 : 0;
}

BridgeLink::BridgeLink(BridgeSetup setup) : setup_(std::move(setup)) {}

BridgeLink::~BridgeLink() { Stop(""); }

bool BridgeLink::Start() {
    if (pid_ > 0) return true;
    if (failed_) return false;
    // A 32-bit library needs the 32-bit bridge; anything else the 64-bit one.
    int bits = PortableExecutableBits(setup_.libraryFile) == 32 ? 32 : 64;
    std::filesystem::path bridge =
        setup_.bridgeDirectory / ("qelbridge" + std::to_string(bits) + ".exe");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(bridge, ec)) {
        failed_ = true;
        problem_ = "the Wine bridge " + bridge.string() + " is missing";
        return false;
    }
    std::string wine = setup_.wine;
    if (wine.empty()) {
        const char* env = std::getenv("ZOLT_WINE");
        wine = env && *env ? env : "wine";
    }

    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0) return failed_ = true, problem_ = std::strerror(errno), false;
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]), ::close(in[1]);
        return failed_ = true, problem_ = std::strerror(errno), false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "WINEPREFIX=", 11) != 0 && std::strncmp(*e, "WINEDEBUG=", 10) != 0)
            env.emplace_back(*e);
    env.push_back("WINEPREFIX=" + setup_.winePrefix.string());
    env.push_back("WINEDEBUG=-all");
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = bridge.string();
    char* argv[] = {wine.data(), program.data(), nullptr};
    pid_t pid = -1;
    // In a process group of its own, so that Ctrl+C at the terminal stops the find (which then
    // puts the chart back through the bridge) instead of killing the bridge with it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    int error = posix_spawnp(&pid, wine.c_str(), &actions, &attributes, argv, envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    if (error != 0) {
        ::close(in[1]), ::close(out[0]);
        failed_ = true;
        problem_ = error == ENOENT
                       ? "Wine is not installed (no " + wine + " on the PATH)"
                       : "Wine could not be started: " + std::string(std::strerror(error));
        return false;
    }
    pid_ = pid, toBridge_ = in[1], fromBridge_ = out[0];
    pending_.clear();
    return true;
}

void BridgeLink::Stop(const std::string& reason) {
    if (toBridge_ >= 0) ::close(toBridge_);
    if (fromBridge_ >= 0) ::close(fromBridge_);
    toBridge_ = fromBridge_ = -1;
    if (pid_ > 0) {
        // The bridge ends on the end of its input; one that does not is ended with its group.
        // Looked at without reaping, so that the group's number cannot be taken by another.
        const auto exited = [this] {
            siginfo_t info{};
            return ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) ==
                       0 &&
                   info.si_pid == pid_;
        };
        for (int i = 0; reason.empty() && i < 50 && !exited(); ++i) ::usleep(20000);
        if (!reason.empty() || !exited()) ::kill(-pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    pid_ = -1;
    owed_.clear();
    pending_.clear();
    if (!reason.empty()) {
        failed_ = true;
        problem_ = reason;
    }
}

BridgeLink::Read BridgeLink::ReadLine(Clock::time_point deadline, std::string_view awaited,
                                      std::string& line) {
    const Clock::time_point began = Clock::now();
    std::size_t nl;
    while ((nl = pending_.find('\n')) == std::string::npos) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return Read::TimedOut;
        // One wait is given up per Stop: the requests that put things back must still run.
        if (hook_) {
            if (hook_(awaited, std::chrono::duration<double>(now - began).count()))
                gaveUp_ = false;
            else if (!gaveUp_)
                return gaveUp_ = true, Read::GivenUp;
        }
        // Slices short enough for a window to repaint and take Stop between them.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        pollfd p{fromBridge_, POLLIN, 0};
        int r = ::poll(&p, 1, static_cast<int>(hook_ ? std::min<long long>(left, 40) : left));
        if (r <= 0) continue;
        char buf[4096];
        ssize_t n = ::read(fromBridge_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Read::Ended;
        pending_.append(buf, static_cast<std::size_t>(n));
    }
    line = pending_.substr(0, nl);
    pending_.erase(0, nl + 1);
    return Read::Line;
}

bool BridgeLink::Request(const std::vector<std::string>& fields, double seconds,
                         std::vector<std::string>& answer) {
    answer.clear();
    bool first = pid_ <= 0;
    if (!Start()) return false;
    if (first) seconds += FirstRequestSeconds;
    const std::string& verb = fields[0];
    const std::string awaited = first                ? "starting the host link under Wine"
                                : verb == "start"    ? "starting the chart program"
                                : verb == "close"    ? "closing the chart windows"
                                : verb == "postwait" ? "waiting for the chart to show " + fields[2]
                                                     : "waiting for the host link (" + verb + ")";
    // Answers of requests given up come first, in order.
    std::string reply;
    while (!owed_.empty()) {
        const Read r =
            ReadLine(owed_.front(), "waiting for the host to finish the last request", reply);
        if (r == Read::GivenUp) return false;
        if (r != Read::Line) {
            Stop(r == Read::Ended ? "the Wine bridge ended"
                                  : "the Wine bridge did not finish a request given up");
            return false;
        }
        owed_.pop_front();
    }
    std::string line = qelbridge::JoinFields(fields) + "\n";

    // A bridge that died must not take this process with it through SIGPIPE.
    sigset_t pipeSet, old;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, &old);
    bool written = true;
    for (std::size_t done = 0; written && done < line.size();) {
        ssize_t n = ::write(toBridge_, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) done += static_cast<std::size_t>(n);
    }
    if (!written) {
        timespec zero{0, 0};
        sigtimedwait(&pipeSet, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    if (!written) {
        Stop("the Wine bridge ended");
        return false;
    }

    const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                          std::chrono::duration<double>(seconds));
    switch (ReadLine(deadline, awaited, reply)) {
    case Read::Line: break;
    case Read::GivenUp: owed_.push_back(deadline); return false;
    case Read::Ended: Stop("the Wine bridge ended"); return false;
    case Read::TimedOut:
        Stop(first ? "Wine did not start the host link within " +
                         std::to_string(static_cast<int>(seconds)) + " s"
                   : "the Wine bridge did not answer \"" + verb + "\" in time");
        return false;
    }
    if (!reply.empty() && reply.back() == '\r') reply.pop_back();
    answer = qelbridge::SplitFields(reply);
    if (answer.empty() || answer[0] != "ok") {
        problem_ = answer.size() > 1 ? answer[1] : "the Wine bridge refused \"" + fields[0] + "\"";
        answer.clear();
        return false;
    }
    answer.erase(answer.begin());
    return true;
}

WindowId BridgeLink::WindowRequest(const std::vector<std::string>& fields, double seconds) {
    std::vector<std::string> a;
    return Request(fields, seconds, a) && !a.empty() ? ToWindow(a[0]) : 0;
}

bool BridgeLink::LoadLibrary(const std::string& libraryPath) {
    std::vector<std::string> a;
    if (!Request({"load", libraryPath}, RequestSeconds, a) || a.empty()) return false;
    if (a[0] == "1") return true;
    problem_ = a.size() > 1 ? a[1] : "the host library could not be loaded";
    return false;
}

bool BridgeLink::Post(const std::string& libraryPath, int code, const std::string& text) {
    std::vector<std::string> a;
    if (!Request({"post", libraryPath, std::to_string(code), text}, RequestSeconds, a) || a.empty())
        return false;
    if (a.size() > 1) problem_ = a[1]; // the library could not be loaded
    return a[0] == "1";
}

bool BridgeLink::PostAndWait(const std::string& libraryPath, const std::string& ticker) {
    std::vector<std::string> a;
    if (!Request({"postwait", libraryPath, ticker}, RequestSeconds + 3, a) || a.empty())
        return false;
    if (a.size() > 2) problem_ = a[2];
    return a[0] == "1";
}

WindowId BridgeLink::FindWindow(const std::string& title) {
    return WindowRequest({"find", title}, RequestSeconds);
}

WindowId BridgeLink::StartProgram(const std::string& programPath, const std::string& title) {
    return WindowRequest({"start", programPath, title, std::to_string(StartSeconds)},
                         RequestSeconds + StartSeconds);
}

void BridgeLink::Activate(WindowId window) {
    std::vector<std::string> a;
    Request({"activate", Number(window)}, RequestSeconds, a);
}

bool BridgeLink::GetPlacement(WindowId window, Rect& rect, bool& maximised) {
    std::vector<std::string> a;
    if (!Request({"placement", Number(window)}, RequestSeconds, a) || a.size() < 5) return false;
    rect = Rect{std::atoi(a[0].c_str()), std::atoi(a[1].c_str()), std::atoi(a[2].c_str()),
                std::atoi(a[3].c_str())};
    maximised = a[4] == "1";
    return true;
}

void BridgeLink::Move(WindowId window, const Rect& r) {
    std::vector<std::string> a;
    Request({"move", Number(window), std::to_string(r.left), std::to_string(r.top),
             std::to_string(r.width), std::to_string(r.height)},
            RequestSeconds, a);
}

void BridgeLink::ShowNormal(WindowId window) {
    std::vector<std::string> a;
    Request({"shownormal", Number(window)}, RequestSeconds, a);
}

void BridgeLink::ShowMaximised(WindowId window) {
    std::vector<std::string> a;
    Request({"showmax", Number(window)}, RequestSeconds, a);
}

void BridgeLink::CloseWindows(const std::string& title) {
    // A window that ignores the request must not hold the find for ever.
    constexpr int CloseSeconds = 10;
    std::vector<std::string> a;
    Request({"close", title, std::to_string(CloseSeconds)}, RequestSeconds + CloseSeconds, a);
}

WindowId BridgeLink::MdiClient(WindowId frame) {
    return WindowRequest({"mdiclient", Number(frame)}, RequestSeconds);
}

std::string BridgeLink::TopChildTitle(WindowId mdiClient) {
    std::vector<std::string> a;
    return Request({"childtitle", Number(mdiClient)}, RequestSeconds, a) && !a.empty() ? a[0] : "";
}

void BridgeLink::SendKeys(WindowId window, const std::string& keys) {
    std::vector<std::string> a;
    Request({"keys", Number(window), keys}, RequestSeconds, a);
}

Rect BridgeLink::Screen() {
    std::vector<std::string> a;
    if (!Request({"screen"}, RequestSeconds, a) || a.size() < 2) return Rect{};
    return Rect{0, 0, std::atoi(a[0].c_str()), std::atoi(a[1].c_str())};
}

} // namespace hostlink

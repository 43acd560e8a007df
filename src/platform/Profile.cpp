#include "platform/Profile.h"

#include "platform/Text.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

// One line of the file as it stands, without its line ending, and where it starts and ends.
struct Line {
    size_t begin; // offset of the first character
    size_t end;   // offset just past the text (before "\r\n" or "\n")
    size_t next;  // offset of the following line
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > pos && text[end - 1] == '\r') --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

// The section name when the line is a section header.
bool SectionName(std::string_view line, std::string_view& name) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return false;
    size_t close = line.find(']');
    if (close == std::string_view::npos) return false;
    name = Trim(line.substr(1, close - 1));
    return true;
}

// The key and raw value when the line is a key line; comments and other lines are not.
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return false;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    return true;
}

struct Location {
    bool sectionFound = false;
    size_t sectionLine = 0;     // index of the header line
    size_t lastContentLine = 0; // last non-blank line of the section (the header when empty)
    bool keyFound = false;
    size_t keyLine = 0;
};

Location Find(std::string_view text, const std::vector<Line>& lines, std::string_view section,
              std::string_view key) {
    Location loc;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
        std::string_view name;
        if (SectionName(line, name)) {
            if (loc.sectionFound) break; // only the first matching section counts
            inSection = EqualNoCase(name, section);
            if (inSection) {
                loc.sectionFound = true;
                loc.sectionLine = loc.lastContentLine = i;
            }
            continue;
        }
        if (!inSection) continue;
        if (!Trim(line).empty()) loc.lastContentLine = i;
        std::string_view k, v;
        if (!loc.keyFound && KeyLine(line, k, v) && EqualNoCase(k, key)) {
            loc.keyFound = true;
            loc.keyLine = i;
        }
    }
    return loc;
}

} // namespace

std::string SizeText(std::uint64_t bytes) {
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0)
        return std::to_string(bytes / (1024 * 1024)) + " MB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KB";
    return std::to_string(bytes) + " bytes";
}

namespace {

std::string KindOfNonRegular(mode_t mode) {
    if (S_ISDIR(mode)) return "is a directory";
    if (S_ISFIFO(mode)) return "is a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device";
    if (S_ISSOCK(mode)) return "is a socket";
    return "is not a regular file";
}

std::string ReasonOfErrno(int error) {
    if (error == ENOENT) return std::string(MissingFileReason);
    if (error == EACCES) return "is not readable (permission denied)";
    return std::strerror(error);
}

} // namespace

int OpenRegularFile(const std::filesystem::path& path, std::string& reason) {
    // Non-blocking, so that a FIFO in a file's place is refused instead of waiting for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        reason = ReasonOfErrno(errno);
        return -1;
    }
    struct stat st;
    bool stated = ::fstat(fd, &st) == 0;
    if (!stated || !S_ISREG(st.st_mode)) {
        reason = stated ? KindOfNonRegular(st.st_mode) : std::strerror(errno);
        ::close(fd);
        return -1;
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool ReadRegularFile(const std::filesystem::path& path, std::string& data, std::string& reason,
                     std::uint64_t maxSize) {
    data.clear();
    int fd = OpenRegularFile(path, reason);
    if (fd < 0) return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && static_cast<std::uint64_t>(st.st_size) > maxSize) {
        reason = "is larger than " + SizeText(maxSize);
        ::close(fd);
        return false;
    }
    if (ok) data.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    while (ok) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        data.append(buf, static_cast<std::size_t>(n));
        if (data.size() > maxSize) { // it grew while being read
            reason = "is larger than " + SizeText(maxSize);
            ::close(fd);
            data.clear();
            return false;
        }
    }
    if (!ok) reason = std::strerror(errno);
    ::close(fd);
    if (!ok) data.clear();
    return ok;
}

namespace {

// The file a name stands for: a symbolic link is followed (to a file that may not exist yet),
// so that writing through it replaces the file and leaves the link a link.
bool ResolveLinks(std::filesystem::path path, std::filesystem::path& target, bool& exists) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT) return false;
            target = path;
            exists = false;
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            target = path;
            exists = true;
            return true;
        }
        std::error_code ec;
        std::filesystem::path to = std::filesystem::read_symlink(path, ec);
        if (ec) {
            errno = ec.value();
            return false;
        }
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
    errno = ELOOP;
    return false;
}

// Blocks the usual termination signals while a temporary name exists, so that it is either
// renamed or removed before the signal takes effect.
class QuietSignals {
public:
    QuietSignals() {
        sigset_t set;
        sigemptyset(&set);
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&set, s);
        sigprocmask(SIG_BLOCK, &set, &old_);
    }
    ~QuietSignals() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
    QuietSignals(const QuietSignals&) = delete;
    QuietSignals& operator=(const QuietSignals&) = delete;

private:
    sigset_t old_;
};

bool WriteAll(int fd, std::string_view data) {
    for (size_t done = 0; done < data.size();) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// A name beside the target no other writer uses.
std::string TemporaryName(const std::filesystem::path& target) {
    static unsigned counter = 0;
    return target.string() + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(++counter);
}

// Gives the finished file its name: without replacing, link() fails when the name exists, so
// of two writers only one succeeds.
bool Publish(const std::string& from, const std::filesystem::path& target, WriteMode mode,
             bool fromProc) {
    int linkFlags = fromProc ? AT_SYMLINK_FOLLOW : 0;
    if (mode == WriteMode::NoReplace)
        return ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, target.c_str(), linkFlags) == 0;
    if (!fromProc) return std::rename(from.c_str(), target.c_str()) == 0;
    std::string tmp = TemporaryName(target);
    QuietSignals quiet;
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, tmp.c_str(), linkFlags) != 0) return false;
    if (std::rename(tmp.c_str(), target.c_str()) == 0) return true;
    int error = errno;
    ::unlink(tmp.c_str());
    errno = error;
    return false;
}

} // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data, WriteMode mode,
                         std::string* problem) {
    const auto fail = [problem](const std::string& reason = {}) {
        if (problem) *problem = reason.empty() ? std::string(std::strerror(errno)) : reason;
        return false;
    };
    std::filesystem::path target;
    bool exists = false;
    if (mode == WriteMode::NoReplace) {
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0) { // a dangling link is a taken name too
            errno = EEXIST;
            return fail();
        }
        target = path;
    } else if (!ResolveLinks(path, target, exists)) {
        return fail();
    }
    mode_t keep = 0;
    if (exists) {
        struct stat st;
        if (::stat(target.c_str(), &st) != 0) return fail();
        // Renaming over a device node or FIFO would remove it, for root even one in /dev.
        if (!S_ISREG(st.st_mode)) {
            errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
            const std::string kind = KindOfNonRegular(st.st_mode);
            return fail(target == path ? "it " + kind + ", not a regular file"
                                       : "it links to " + target.string() + ", which " + kind +
                                             ", not a regular file");
        }
        keep = st.st_mode & 0777; // never the set-user-ID or set-group-ID bits
    }
    std::filesystem::path dir = target.parent_path().empty() ? "." : target.parent_path();

    // An unnamed file when the file system has them; otherwise a named one that is removed
    // whatever happens, with the termination signals held off while it exists.
    std::string from;
    bool fromProc = true;
    std::unique_ptr<QuietSignals> quiet;
    int fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        from = "/proc/self/fd/" + std::to_string(fd);
    } else {
        fromProc = false;
        quiet = std::make_unique<QuietSignals>();
        from = TemporaryName(target);
        fd = ::open(from.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) return fail();
    }
    bool ok = WriteAll(fd, data) && (!exists || ::fchmod(fd, keep) == 0) && ::fsync(fd) == 0;
    ok = ok && Publish(from, target, mode, fromProc);
    int error = errno;
    ::close(fd);
    if (!fromProc && (!ok || mode == WriteMode::NoReplace)) ::unlink(from.c_str());
    if (ok) {
        int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd >= 0) {
            ::fsync(dfd);
            ::close(dfd);
        }
    }
    errno = error;
    return ok || fail();
}

struct ProfileIndex::Impl {
    // Lower-cased section -> lower-cased key -> value.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections;
};

namespace {

std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = AsciiLower(c);
    return r;
}

std::string Unquoted(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

} // namespace

ProfileIndex::ProfileIndex(std::string_view text) {
    auto impl = std::make_shared<Impl>();
    std::unordered_map<std::string, std::string>* current = nullptr;
    for (const Line& l : SplitLines(text)) {
        std::string_view line = text.substr(l.begin, l.end - l.begin);
        std::string_view name;
        if (SectionName(line, name)) {
            // Only the first section of a name counts.
            auto [it, fresh] = impl->sections.try_emplace(Lower(name));
            current = fresh ? &it->second : nullptr;
            continue;
        }
        std::string_view k, v;
        if (current && KeyLine(line, k, v)) current->try_emplace(Lower(k), Unquoted(v));
    }
    impl_ = std::move(impl);
}

const std::string* ProfileIndex::Find(std::string_view section, std::string_view key) const {
    auto s = impl_->sections.find(Lower(section));
    if (s == impl_->sections.end()) return nullptr;
    auto k = s->second.find(Lower(key));
    return k == s->second.end() ? nullptr : &k->second;
}

void Profile::Load() const {
    if (loaded_) return;
    loaded_ = true;
    std::string text;
    if (!ReadRegularFile(path_, text, problem_, MaxProfileSize)) text.clear();
    index_ = std::make_unique<ProfileIndex>(text);
}

const std::string& Profile::Problem() const {
    Load();
    return problem_;
}

std::string Profile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    Load();
    const std::string* v = index_->Find(section, key);
    return v ? *v : std::string(def);
}

std::string ReadProfileText(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view def) {
    const ProfileIndex index(text);
    const std::string* v = index.Find(section, key);
    return v ? *v : std::string(def);
}

int Profile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    int v;
    return ParseInteger(ReadString(section, key, ""), v) ? v : def;
}

std::string WriteProfileText(const std::string& text, std::string_view section,
                             std::string_view key, std::string_view value) {
    // New lines follow the file's own line endings; a new file gets the host's CR LF.
    std::string eol = text.empty() || text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::vector<Line> lines = SplitLines(text);
    Location loc = Find(text, lines, section, key);
    std::string entry = std::string(key) + "=" + std::string(value);
    if (loc.keyFound) {
        const Line& l = lines[loc.keyLine];
        return text.substr(0, l.begin) + entry + text.substr(l.end);
    }
    if (loc.sectionFound) {
        const Line& l = lines[loc.lastContentLine];
        // The last line of the file may have no line ending of its own.
        std::string head = text.substr(0, l.next);
        if (head.empty() || head.back() != '\n') head += eol;
        return head + entry + eol + text.substr(l.next);
    }
    std::string out = text;
    if (!out.empty() && out.back() != '\n') out += eol;
    return out + "[" + std::string(section) + "]" + eol + entry + eol;
}

namespace {

// Held from before the read to after the rename, so that two programs changing their own
// sections of one file cannot put back what the other has just replaced. Where no lock file can
// be made or locked, the file could not be written either, or the file system keeps no locks:
// the write goes on without it.
class WriteLock {
public:
    explicit WriteLock(const std::filesystem::path& path) {
        const std::filesystem::path lock =
            path.parent_path() / ("." + path.filename().string() + ".lock");
        fd_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        if (fd_ < 0) return;
        for (int waited = 0; ::flock(fd_, LOCK_EX | LOCK_NB) != 0; waited += PollMs) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
            if (waited >= Profile::LockWaitMs) {
                timedOut_ = true;
                return;
            }
            ::usleep(PollMs * 1000);
        }
    }
    ~WriteLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    bool TimedOut() const { return timedOut_; }

private:
    static constexpr int PollMs = 10;
    int fd_ = -1;
    bool timedOut_ = false;
};

} // namespace

bool Profile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    return WriteStrings(section, {{std::string(key), std::string(value)}});
}

bool Profile::WriteStrings(std::string_view section,
                           const std::vector<std::pair<std::string, std::string>>& values) {
    const WriteLock lock(path_);
    if (lock.TimedOut()) {
        Failed("another program kept writing it for " + std::to_string(LockWaitMs / 1000) +
               " seconds");
        errno = EWOULDBLOCK;
        return false;
    }
    std::string text, reason;
    if (!ReadRegularFile(path_, text, reason, MaxProfileSize)) {
        struct stat st;
        if (::lstat(path_.c_str(), &st) == 0 && ::stat(path_.c_str(), &st) == 0) {
            Failed("it " + reason);
            errno = EINVAL;
            return false; // there but unreadable, too large or not a file: keep it
        }
        text.clear();
    }
    for (const auto& [key, value] : values) text = WriteProfileText(text, section, key, value);
    loaded_ = false;
    std::string problem;
    if (WriteFileAtomically(path_, text, WriteMode::Replace, &problem)) return true;
    const int error = errno;
    Failed(problem);
    errno = error;
    return false;
}

} // namespace platform

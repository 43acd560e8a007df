#include "platform/Profile.h"

#include "platform/Text.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

bool ReadWholeFile(const std::filesystem::path& path, std::string& data) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    data.clear();
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data) {
    std::string tmpl = path.string() + ".XXXXXX";
    int fd = mkstemp(tmpl.data());
    if (fd < 0) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < data.size();) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    // Keep the permissions of the file being replaced; a new file gets the usual 0644.
    struct stat st;
    mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    ok = ok && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(tmpl.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tmpl.c_str());
    return ok;
}

std::string Profile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    std::string text;
    if (!ReadWholeFile(path_, text)) return std::string(def);
    return ReadProfileText(text, section, key, def);
}

std::string ReadProfileText(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view def) {
    std::vector<Line> lines = SplitLines(text);
    Location loc = Find(text, lines, section, key);
    if (!loc.keyFound) return std::string(def);
    const Line& l = lines[loc.keyLine];
    std::string_view k, v;
    KeyLine(text.substr(l.begin, l.end - l.begin), k, v);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
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

bool Profile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    return WriteStrings(section, {{std::string(key), std::string(value)}});
}

bool Profile::WriteStrings(std::string_view section,
                           const std::vector<std::pair<std::string, std::string>>& values) {
    std::string text;
    if (!ReadWholeFile(path_, text)) {
        std::error_code ec;
        if (std::filesystem::exists(path_, ec)) return false; // there but unreadable: keep it
        text.clear();
    }
    for (const auto& [key, value] : values) text = WriteProfileText(text, section, key, value);
    return WriteFileAtomically(path_, text);
}

} // namespace platform

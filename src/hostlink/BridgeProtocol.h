// The line protocol between the programs and qelbridge, the Win32 program that does inside the
// host's Wine session what must happen there. Included by both sides; plain C++, no Windows.
//
// One request a line, one answer a line; fields are separated by tabs, and a text field has its
// backslashes, tabs, line feeds and carriage returns written as \\, \t, \n and \r. Windows are
// numbers (0: none). Requests and their answers ("ok" + fields, or "err" + reason):
//   load PATH                    -> ok 1|0 [reason]      load the interface library for good
//   post PATH CODE TEXT          -> ok 1|0               the post entry returned 1
//   postwait PATH TICKER         -> ok 1|0 ACKS          code 1, then 3 s or two acknowledgements
//   find TITLE                   -> ok HWND              equal length, case ignored, first found
//   start PROGRAM TITLE SECONDS  -> ok HWND              CreateProcess, then wait for the window
//   activate HWND                -> ok                   restore if minimised, foreground
//   placement HWND               -> ok LEFT TOP WIDTH HEIGHT MAXIMISED
//   move HWND LEFT TOP WIDTH HEIGHT -> ok
//   shownormal HWND | showmax HWND -> ok
//   close TITLE SECONDS          -> ok N                 WM_CLOSE until no window has the title
//   mdiclient HWND               -> ok HWND              the child of class "MDIClient"
//   childtitle HWND              -> ok TITLE             first 39 characters of the top child
//   keys HWND KEYS               -> ok                   the key walk, sent with keybd_event
//   screen                       -> ok WIDTH HEIGHT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qelbridge {

inline std::string Escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

inline std::string Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

// A line of fields, each escaped.
inline std::string JoinFields(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "\t" : "") + Escape(fields[i]);
    return line;
}

inline std::vector<std::string> SplitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        fields.push_back(Unescape(line.substr(start, tab - start)));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return fields;
}

} // namespace qelbridge

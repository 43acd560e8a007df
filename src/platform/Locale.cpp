#include "platform/Locale.h"

namespace platform {

std::string DateFormatFromQt(const std::string& qt, char separator) {
    std::string out;
    size_t i = 0;
    while (i < qt.size()) {
        char c = qt[i];
        if (c == '\'' && i + 1 < qt.size() && qt[i + 1] == '\'') { // '' is a quote
            out += "\"'\"";
            i += 2;
            continue;
        }
        if (c == '\'') { // quoted literal
            size_t j = i + 1;
            std::string lit;
            while (j < qt.size()) {
                if (qt[j] == '\'') {
                    if (j + 1 < qt.size() && qt[j + 1] == '\'') {
                        lit += '\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                lit += qt[j++];
            }
            out += '"';
            out += lit;
            out += '"';
            i = j + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < qt.size() && qt[i + run] == c) ++run;
        switch (c) {
        case 'd': out.append(run > 4 ? 4 : run, 'd'); break;
        case 'M':
        case 'L': out.append(run > 4 ? 4 : run, 'm'); break;
        case 'y': out += run > 2 ? "yyyy" : "yy"; break;
        default:
            if (c == separator) {
                out.append(run, '/');
            } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                out += '"'; // letters the host would read as tokens
                out.append(qt, i, run);
                out += '"';
            } else {
                out.append(qt, i, run);
            }
        }
        i += run;
    }
    return out;
}

} // namespace platform

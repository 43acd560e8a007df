#include "ui/FileNameText.h"

namespace ui {

namespace {

// U+F780..U+F7FF: one code point for each byte 0x80..0xFF that is not part of a UTF-8 sequence.
constexpr char32_t StrayByteBase = 0xF700;

// The length of the valid UTF-8 sequence at `at`, 0 when there is none.
std::size_t SequenceLength(std::string_view s, std::size_t at) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[at + i]); };
    const unsigned char lead = b(0);
    std::size_t n = lead < 0x80                    ? 1
                    : lead >= 0xC2 && lead <= 0xDF ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 0;
    if (n == 0 || at + n > s.size()) return 0;
    for (std::size_t i = 1; i < n; ++i)
        if ((b(i) & 0xC0) != 0x80) return 0;
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if (lead == 0xE0 && b(1) < 0xA0) return 0;
    if (lead == 0xED && b(1) > 0x9F) return 0;
    if (lead == 0xF0 && b(1) < 0x90) return 0;
    if (lead == 0xF4 && b(1) > 0x8F) return 0;
    // The stray bytes' own code points, were they in a name, go byte by byte too.
    if (lead == 0xEF && (b(1) == 0x9E || b(1) == 0x9F)) return 0;
    return n;
}

} // namespace

QString FileNameText(std::string_view bytes) {
    QString text;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = SequenceLength(bytes, at);
        if (n == 0) {
            text +=
                QChar(static_cast<char16_t>(StrayByteBase + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        text += QString::fromUtf8(bytes.data() + at, static_cast<qsizetype>(n));
        at += n;
    }
    return text;
}

std::string FileNameBytes(const QString& text) {
    std::string bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= StrayByteBase + 0x80 && c <= StrayByteBase + 0xFF) {
            bytes += static_cast<char>(c - StrayByteBase);
            continue;
        }
        // A surrogate pair stays together.
        const qsizetype n = QChar::isHighSurrogate(c) && i + 1 < text.size() ? 2 : 1;
        bytes += text.mid(i, n).toStdString();
        i += n - 1;
    }
    return bytes;
}

} // namespace ui

// File names as window text without losing a byte: names are bytes, and one that is not UTF-8
// (CAF\xC9.VNI) must open the same file after passing through a list or an edit.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace ui {

// UTF-8 sequences as their characters; each byte outside one as a private-use character of
// its own (shown as a box), so that FileNameBytes gives the name back.
QString FileNameText(std::string_view bytes);
std::string FileNameBytes(const QString& text);

} // namespace ui

// The text rules of the numeric edits: which texts are (or can still become) numbers, the texts
// a key, paste, cut or delete would produce, and the float-format patterns ("##0.00", "#0").
#pragma once

#include <string>
#include <string_view>

namespace ui {

enum class NumberKind { Real, Integer, Cardinal };

// A whole real number: blanks, a sign, digits with at most one ".", an optional exponent
// ("E", a sign, digits), blanks; out-of-range values do not convert.
bool ParseReal(std::string_view text, double& value);

// Empty, "-" or "+" (a number being started), or text of a number of the kind. A cardinal
// takes no minus sign.
bool IsAcceptableCandidate(NumberKind kind, std::string_view text);

// The typed characters each kind lets through to the candidate test (backspace included).
bool IsValidKey(NumberKind kind, char key);

// An edit's text with its selection; with nothing selected selStart is the caret.
struct EditText {
    std::string text;
    int selStart = 0;
    int selLength = 0;
};

std::string TypedCandidate(const EditText& e, std::string_view typed);
std::string BackspaceCandidate(const EditText& e);
std::string DeleteCandidate(const EditText& e);
// The selection (if any) replaced by the clipboard text, as the paste itself does.
std::string PasteCandidate(const EditText& e, std::string_view clip);
std::string CutCandidate(const EditText& e);

// The platform's float-format pattern: "0" and "#" digit placeholders, "." the decimal point,
// "," thousands separators, "E+00" an exponent, quoted or other text literal, up to three
// ";"-separated sections (positive; negative; zero). False when the value cannot be shown.
bool FormatFloat(std::string_view pattern, double value, std::string& out);

// The general format: up to 15 significant digits, an exponent ("1E20", "1E-6") for values of
// 1E15 and above or below 0.00001.
std::string FormatGeneral(double value);

// The least height of an integer edit with spin buttons for its font's character height.
int MinimumSpinEditHeight(int fontHeight, int systemFontHeight);

} // namespace ui

#include "ui/RICedit.h"

#include "platform/Text.h"
#include "ui/Hooks.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QToolButton>
#include <algorithm>
#include <climits>

namespace ui {

namespace {

bool FormatValue(const QString& format, double value, QString& text) {
    std::string out;
    if (!FormatFloat(format.toStdString(), value, out)) return false;
    text = QString::fromStdString(out).toUpper();
    return true;
}

char AsciiOf(QChar c) { return c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\0'; }

} // namespace

// --- TRealEdit

TRealEdit::TRealEdit(QWidget* parent) : TAlignEdit(parent) { UseCandidateRules(); }

double TRealEdit::Value() const {
    double v = 0;
    // Empty text, or a lone sign still being typed, reads as 0.
    return ParseReal(text().toStdString(), v) ? v : 0;
}

double TRealEdit::CheckValue(double value) const {
    if (!validate_) return value;
    if (value < MinValue) return MinValue;
    if (value > MaxValue) return MaxValue;
    return value;
}

void TRealEdit::SetValue(double value) {
    QString shown;
    if (FormatValue(formatString_, CheckValue(value), shown)) setText(shown);
}

void TRealEdit::SetFormatString(const QString& format) {
    formatString_ = format;
    SetValue(Value());
}

void TRealEdit::SetValidate(bool validate) {
    validate_ = validate;
    SetValue(Value());
}

bool TRealEdit::IsValidChar(QChar key) const { return IsValidKey(NumberKind::Real, AsciiOf(key)); }

bool TRealEdit::IsAcceptableText(const QString& candidate) const {
    return IsAcceptableCandidate(NumberKind::Real, candidate.toStdString());
}

void TRealEdit::keyPressEvent(QKeyEvent* event) {
    if (!HandleCandidateKey(event, !isReadOnly())) TAlignEdit::keyPressEvent(event);
}

// --- TSpinButton

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) {
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIconSize(QSize(7, 4));
    }
    setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, &TSpinButton::OnUpClick);
    connect(down_, &QToolButton::clicked, this, &TSpinButton::OnDownClick);
}

void TSpinButton::resizeEvent(QResizeEvent*) {
    int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

// --- TIntegerEdit

TIntegerEdit::TIntegerEdit(QWidget* parent) : TAlignEdit(parent) {
    UseCandidateRules();
    setText(QStringLiteral("0"));
    button_ = new TSpinButton(this);
    button_->setCursor(Qt::ArrowCursor);
    button_->hide();
    button_->setEnabled(false);
    connect(button_, &TSpinButton::OnUpClick, this, [this] {
        setFocus(Qt::MouseFocusReason);
        UpClick();
    });
    connect(button_, &TSpinButton::OnDownClick, this, [this] {
        setFocus(Qt::MouseFocusReason);
        DownClick();
    });
}

int TIntegerEdit::Value() const {
    QString t = text();
    if (t.isEmpty()) return 0;
    int v = 0;
    return platform::ParseInteger(t.toStdString(), v) ? v : minValue_;
}

int TIntegerEdit::CheckValue(int value) const {
    if (!validate_ || (minValue_ == 0 && maxValue_ == 0)) return value;
    return std::max(minValue_, std::min(maxValue_, value));
}

void TIntegerEdit::SetValue(int value) {
    int v = CheckValue(value);
    if (formatString_.isEmpty()) {
        setText(QString::number(v));
        return;
    }
    QString shown;
    if (FormatValue(formatString_, v, shown)) setText(shown);
}

void TIntegerEdit::SetFormatString(const QString& format) {
    formatString_ = format;
    SetValue(Value());
}

void TIntegerEdit::SetValidate(bool validate) {
    validate_ = validate;
    SetValue(Value());
}

void TIntegerEdit::SetSpin(bool spin) {
    spin_ = spin;
    button_->setVisible(spin);
    button_->setEnabled(spin && isEnabled());
    PlaceButton();
}

void TIntegerEdit::Step(int direction) {
    if (isReadOnly()) {
        Beep();
        return;
    }
    long long next =
        static_cast<long long>(Value()) + static_cast<long long>(direction) * Increment;
    SetValue(static_cast<int>(std::clamp<long long>(next, INT_MIN, INT_MAX)));
}

void TIntegerEdit::UpClick() { Step(1); }
void TIntegerEdit::DownClick() { Step(-1); }

bool TIntegerEdit::IsValidChar(QChar key) const { return IsValidKey(Kind(), AsciiOf(key)); }

bool TIntegerEdit::IsAcceptableText(const QString& candidate) const {
    return IsAcceptableCandidate(Kind(), candidate.toStdString());
}

void TIntegerEdit::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Up) {
            UpClick();
            return;
        }
        if (event->key() == Qt::Key_Down) {
            DownClick();
            return;
        }
    }
    if (!HandleCandidateKey(event, EditorEnabled && !isReadOnly()))
        TAlignEdit::keyPressEvent(event);
}

void TIntegerEdit::PlaceButton() {
    const int buttonWidth = 15;
    if (spin_) {
        int minHeight = MinimumSpinEditHeight(fontMetrics().height(),
                                              QFontMetrics(QApplication::font()).height());
        if (minimumHeight() < minHeight) setMinimumHeight(minHeight);
        // The button sits inside the frame, full height less the three-dimensional border.
        int h = std::max(4, height() - 5);
        button_->setGeometry(width() - buttonWidth - 2, (height() - h) / 2, buttonWidth, h);
        setTextMargins(0, 0, buttonWidth + 2, 0);
    } else {
        setTextMargins(0, 0, 0, 0);
    }
}

void TIntegerEdit::resizeEvent(QResizeEvent* event) {
    TAlignEdit::resizeEvent(event);
    PlaceButton();
}

void TIntegerEdit::changeEvent(QEvent* event) {
    TAlignEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) button_->setEnabled(spin_ && isEnabled());
    if (event->type() == QEvent::FontChange) PlaceButton();
}

// --- TCardinalEdit

TCardinalEdit::TCardinalEdit(QWidget* parent) : TIntegerEdit(parent) {}

int TCardinalEdit::CheckValue(int value) const {
    return TIntegerEdit::CheckValue(value < 0 ? 0 : value);
}

bool TCardinalEdit::IsValidChar(QChar key) const {
    return IsValidKey(NumberKind::Cardinal, AsciiOf(key));
}

} // namespace ui

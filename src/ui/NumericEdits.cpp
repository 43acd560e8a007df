#include "ui/NumericEdits.h"

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

// --- RealEdit

RealEdit::RealEdit(QWidget* parent) : AlignEdit(parent) { UseCandidateRules(); }

double RealEdit::Value() const {
    double v = 0;
    // Empty text, or a lone sign still being typed, reads as 0.
    return ParseReal(text().toStdString(), v) ? v : 0;
}

double RealEdit::CheckValue(double value) const {
    if (!validate_) return value;
    if (value < MinValue) return MinValue;
    if (value > MaxValue) return MaxValue;
    return value;
}

void RealEdit::SetValue(double value) {
    QString shown;
    if (FormatValue(formatString_, CheckValue(value), shown)) setText(shown);
}

void RealEdit::SetFormatString(const QString& format) {
    formatString_ = format;
    SetValue(Value());
}

void RealEdit::SetValidate(bool validate) {
    validate_ = validate;
    SetValue(Value());
}

bool RealEdit::IsValidChar(QChar key) const { return IsValidKey(NumberKind::Real, AsciiOf(key)); }

bool RealEdit::IsAcceptableText(const QString& candidate) const {
    return IsAcceptableCandidate(NumberKind::Real, candidate.toStdString());
}

void RealEdit::keyPressEvent(QKeyEvent* event) {
    if (!HandleCandidateKey(event, !isReadOnly())) AlignEdit::keyPressEvent(event);
}

// --- SpinButtons

SpinButtons::SpinButtons(QWidget* parent) : QWidget(parent) {
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
    connect(up_, &QToolButton::clicked, this, &SpinButtons::upClicked);
    connect(down_, &QToolButton::clicked, this, &SpinButtons::downClicked);
}

void SpinButtons::resizeEvent(QResizeEvent*) {
    int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

// --- IntegerEdit

IntegerEdit::IntegerEdit(QWidget* parent) : AlignEdit(parent) {
    UseCandidateRules();
    setText(QStringLiteral("0"));
    button_ = new SpinButtons(this);
    button_->setCursor(Qt::ArrowCursor);
    button_->hide();
    button_->setEnabled(false);
    connect(button_, &SpinButtons::upClicked, this, [this] {
        setFocus(Qt::MouseFocusReason);
        UpClick();
    });
    connect(button_, &SpinButtons::downClicked, this, [this] {
        setFocus(Qt::MouseFocusReason);
        DownClick();
    });
}

int IntegerEdit::Value() const {
    QString t = text();
    if (t.isEmpty()) return 0;
    int v = 0;
    return platform::ParseInteger(t.toStdString(), v) ? v : minValue_;
}

int IntegerEdit::CheckValue(int value) const {
    if (!validate_ || (minValue_ == 0 && maxValue_ == 0)) return value;
    return std::max(minValue_, std::min(maxValue_, value));
}

void IntegerEdit::SetValue(int value) {
    int v = CheckValue(value);
    if (formatString_.isEmpty()) {
        setText(QString::number(v));
        return;
    }
    QString shown;
    if (FormatValue(formatString_, v, shown)) setText(shown);
}

void IntegerEdit::SetFormatString(const QString& format) {
    formatString_ = format;
    SetValue(Value());
}

void IntegerEdit::SetValidate(bool validate) {
    validate_ = validate;
    SetValue(Value());
}

void IntegerEdit::SetSpin(bool spin) {
    spin_ = spin;
    button_->setVisible(spin);
    button_->setEnabled(spin && isEnabled());
    PlaceButton();
}

void IntegerEdit::Step(int direction) {
    if (isReadOnly()) {
        Beep();
        return;
    }
    long long next =
        static_cast<long long>(Value()) + static_cast<long long>(direction) * Increment;
    SetValue(static_cast<int>(std::clamp<long long>(next, INT_MIN, INT_MAX)));
}

void IntegerEdit::UpClick() { Step(1); }
void IntegerEdit::DownClick() { Step(-1); }

bool IntegerEdit::IsValidChar(QChar key) const { return IsValidKey(Kind(), AsciiOf(key)); }

bool IntegerEdit::IsAcceptableText(const QString& candidate) const {
    return IsAcceptableCandidate(Kind(), candidate.toStdString());
}

void IntegerEdit::keyPressEvent(QKeyEvent* event) {
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
    if (!HandleCandidateKey(event, EditorEnabled && !isReadOnly())) AlignEdit::keyPressEvent(event);
}

void IntegerEdit::PlaceButton() {
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

void IntegerEdit::resizeEvent(QResizeEvent* event) {
    AlignEdit::resizeEvent(event);
    PlaceButton();
}

void IntegerEdit::changeEvent(QEvent* event) {
    AlignEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) button_->setEnabled(spin_ && isEnabled());
    if (event->type() == QEvent::FontChange) PlaceButton();
}

// --- CardinalEdit

CardinalEdit::CardinalEdit(QWidget* parent) : IntegerEdit(parent) {}

int CardinalEdit::CheckValue(int value) const {
    return IntegerEdit::CheckValue(value < 0 ? 0 : value);
}

bool CardinalEdit::IsValidChar(QChar key) const {
    return IsValidKey(NumberKind::Cardinal, AsciiOf(key));
}

} // namespace ui

#include "ui/AlignEdit.h"

#include "ui/Hooks.h"
#include "ui/NumericText.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QValidator>

namespace ui {

namespace {

// Changes that bypass the key handling (the context menu, drag and drop, input methods) meet
// the same test; the text shows in upper case.
class CandidateValidator : public QValidator {
public:
    CandidateValidator(QObject* parent, std::function<bool(const QString&)> acceptable)
        : QValidator(parent), acceptable_(std::move(acceptable)) {}

    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return acceptable_(input) ? Acceptable : Invalid;
    }

private:
    std::function<bool(const QString&)> acceptable_;
};

EditText StateOf(const QLineEdit* edit) {
    EditText e;
    e.text = edit->text().toStdString();
    if (edit->hasSelectedText()) {
        e.selStart = edit->selectionStart();
        e.selLength = static_cast<int>(edit->selectedText().size());
    } else {
        e.selStart = edit->cursorPosition();
    }
    return e;
}

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

} // namespace

AlignEdit::AlignEdit(QWidget* parent) : QLineEdit(parent) {}

void AlignEdit::UseCandidateRules() {
    setValidator(new CandidateValidator(
        this, [this](const QString& text) { return IsAcceptableText(text); }));
}

void AlignEdit::SetAlignment(EditAlignment alignment) {
    alignment_ = alignment;
    switch (alignment) {
    case EditAlignment::taLeftJustify: setAlignment(Qt::AlignLeft | Qt::AlignVCenter); break;
    case EditAlignment::taRightJustify: setAlignment(Qt::AlignRight | Qt::AlignVCenter); break;
    case EditAlignment::taCenter: setAlignment(Qt::AlignHCenter | Qt::AlignVCenter); break;
    }
}

bool AlignEdit::IsValidChar(QChar) const { return true; }

bool AlignEdit::IsAcceptableText(const QString&) const { return true; }

void AlignEdit::keyPressEvent(QKeyEvent* event) {
    if ((event->modifiers() & Qt::ControlModifier) &&
        (event->key() == Qt::Key_Tab || IsEnter(event))) {
        event->accept(); // neither a character nor a dialog key here
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool AlignEdit::HandleCandidateKey(QKeyEvent* event, bool editable) {
    auto accept = [&](const std::string& candidate) {
        return IsAcceptableText(QString::fromStdString(candidate));
    };
    if (IsEnter(event) && !(event->modifiers() & Qt::ControlModifier)) {
        focusNextChild();
        return true;
    }
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        if (!editable) return true;
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (!data || !data->hasText() || data->text().isEmpty()) {
            ShowMessage(this, BoxKind::Information, QStringLiteral("No text on the Clipboard"));
            return true;
        }
        QString clip = data->text().toUpper();
        if (accept(PasteCandidate(StateOf(this), clip.toStdString()))) insert(clip);
        return true;
    }
    if (event->matches(QKeySequence::Cut)) {
        if (editable && hasSelectedText() && accept(CutCandidate(StateOf(this)))) cut();
        return true;
    }
    if (isReadOnly()) return false;
    if (event->key() == Qt::Key_Delete && !(event->modifiers() & Qt::ControlModifier)) {
        if (accept(DeleteCandidate(StateOf(this))))
            QLineEdit::keyPressEvent(event);
        else
            Beep();
        return true;
    }
    if (event->key() == Qt::Key_Backspace && !(event->modifiers() & Qt::ControlModifier)) {
        if (IsValidChar(QChar('\b')) && accept(BackspaceCandidate(StateOf(this))))
            QLineEdit::keyPressEvent(event);
        else
            Beep();
        return true;
    }
    QString typed = event->text();
    if (typed.size() == 1 && typed[0].unicode() >= 32 && typed[0].unicode() != 127 &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QChar key = typed[0];
        QString upper = QString(key).toUpper();
        if (IsValidChar(key) && accept(TypedCandidate(StateOf(this), upper.toStdString())))
            insert(upper);
        else
            Beep();
        return true;
    }
    return false;
}

} // namespace ui

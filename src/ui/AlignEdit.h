// A one-line edit whose text can be left-, right- or centre-aligned, and which leaves Tab and
// Enter to the dialog it sits in.
#pragma once

#include <QLineEdit>

namespace ui {

enum class EditAlignment { taLeftJustify, taRightJustify, taCenter };

class AlignEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit AlignEdit(QWidget* parent = nullptr);

    EditAlignment Alignment() const { return alignment_; }
    void SetAlignment(EditAlignment alignment);

protected:
    void keyPressEvent(QKeyEvent* event) override;

    // For the numeric descendants: the typed character may go on to the candidate test.
    virtual bool IsValidChar(QChar key) const;
    // For the numeric descendants: the text the edit may hold after a change.
    virtual bool IsAcceptableText(const QString& candidate) const;
    // Keys of the numeric edits (Enter moving on, the candidate test for typing, backspace,
    // delete, cut and paste); true when the key was dealt with. `editable` is false when
    // paste and cut are not obeyed.
    bool HandleCandidateKey(QKeyEvent* event, bool editable);
    // Puts every change, however made, through IsAcceptableText, in upper case.
    void UseCandidateRules();

private:
    EditAlignment alignment_ = EditAlignment::taLeftJustify;
};

} // namespace ui

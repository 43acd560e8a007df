// Edits for decimal numbers, signed integers (optionally with spin buttons) and non-negative
// integers, which take only text that is, or can still become, a number of their kind.
#pragma once

#include "ui/AlignEdit.h"
#include "ui/NumericText.h"

#include <QWidget>

class QToolButton;

namespace ui {

class RealEdit : public AlignEdit {
    Q_OBJECT
public:
    explicit RealEdit(QWidget* parent = nullptr);

    double Value() const;
    void SetValue(double value);
    QString FormatString() const { return formatString_; }
    void SetFormatString(const QString& format);
    double MinValue = 0;
    double MaxValue = 0;
    bool Validate() const { return validate_; }
    void SetValidate(bool validate);

    double CheckValue(double value) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool IsValidChar(QChar key) const override;
    bool IsAcceptableText(const QString& candidate) const override;

private:
    QString formatString_;
    bool validate_ = true;
};

// The two stacked arrow buttons of a spinning edit; they repeat while held.
class SpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit SpinButtons(QWidget* parent = nullptr);
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    void upClicked();
    void downClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};

class IntegerEdit : public AlignEdit {
    Q_OBJECT
public:
    explicit IntegerEdit(QWidget* parent = nullptr);

    int Value() const;
    void SetValue(int value);
    QString FormatString() const { return formatString_; }
    void SetFormatString(const QString& format);
    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    virtual void SetMinValue(int value) { minValue_ = value; }
    virtual void SetMaxValue(int value) { maxValue_ = value; }
    bool Validate() const { return validate_; }
    void SetValidate(bool validate);
    bool Spin() const { return spin_; }
    void SetSpin(bool spin);
    int Increment = 1;
    bool EditorEnabled = true;

    virtual int CheckValue(int value) const;
    virtual void UpClick();
    virtual void DownClick();

    SpinButtons* SpinButton() const { return button_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool IsValidChar(QChar key) const override;
    bool IsAcceptableText(const QString& candidate) const override;
    virtual NumberKind Kind() const { return NumberKind::Integer; }

    int minValue_ = 0;
    int maxValue_ = 0;

private:
    void PlaceButton();
    void Step(int direction);

    QString formatString_;
    bool validate_ = true;
    bool spin_ = false;
    SpinButtons* button_;
};

class CardinalEdit : public IntegerEdit {
    Q_OBJECT
public:
    explicit CardinalEdit(QWidget* parent = nullptr);

    void SetMinValue(int value) override { minValue_ = value < 0 ? 0 : value; }
    void SetMaxValue(int value) override { maxValue_ = value < 0 ? 0 : value; }
    int CheckValue(int value) const override;

protected:
    bool IsValidChar(QChar key) const override;
    NumberKind Kind() const override { return NumberKind::Cardinal; }
};

} // namespace ui

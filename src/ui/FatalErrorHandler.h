// The fatal error handler: an error that escapes any event handler is shown under a white
// notice across the top of the screen, and then the program ends without saving anything.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QPlainTextEdit;
class QWidget;

namespace ui {

class FatalErrorHandler : public QObject {
    Q_OBJECT
public:
    explicit FatalErrorHandler(QObject* owner = nullptr);
    ~FatalErrorHandler() override;
    FatalErrorHandler(const FatalErrorHandler&) = delete;
    FatalErrorHandler& operator=(const FatalErrorHandler&) = delete;

    QString Caption = QStringLiteral("Fatal Error");
    const QStringList& Instructions() const { return instructions_; }
    void SetInstructions(const QStringList& lines) { instructions_ = lines; }

    // Makes HandleException the application's handler of unhandled errors.
    void Install();

    // Beeps, shows the notice and then the error box, and ends the program when the box is
    // closed.
    void HandleException(QObject* sender, const QString& message);

    // Lays the notice out for a screen: as wide as it, a quarter of its height, at its top.
    void LayoutNotice(const QRect& screen);
    // Puts the caption and the instruction lines on the notice.
    void PrepareNotice();
    QWidget* NoticeWindow() const { return notice_; }
    QPlainTextEdit* NoticeMemo() const { return memo_; }

private:
    QStringList instructions_;
    QPointer<QWidget> notice_;
    QPlainTextEdit* memo_;
    bool handling_ = false;
};

} // namespace ui

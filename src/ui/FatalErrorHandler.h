// The fatal error handler: an error that escapes any event handler is shown under a white
// notice across the top of the screen, and then the program ends without saving anything.
#pragma once

#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QPlainTextEdit;
class QWidget;

namespace ui {

// The application object of both programs: every event handler runs inside notify(), so an
// exception escaping one is caught here and handed to the installed error handler.
class ZoltApplication : public QApplication {
    Q_OBJECT
public:
    using ErrorHandler = std::function<void(QObject* sender, const QString& message)>;

    ZoltApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The application's handler of unhandled errors, dropped when its owner is destroyed;
    // without one, errors propagate as they are.
    void SetOnException(ErrorHandler handler, QObject* owner = nullptr);
    bool HasOnException() const;

    static ZoltApplication* Instance();

private:
    ErrorHandler onException_;
    QPointer<QObject> owner_;
    bool owned_ = false;
};

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

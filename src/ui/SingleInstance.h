// The single-instance guard: the first copy of a program listens under its application title and
// display; a second copy on the same display asks it to raise its main window and then ends.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QWidget;

namespace ui {

class SingleInstanceGuard : public QObject {
    Q_OBJECT
public:
    // Runs the check under the application's display title; returns only when this copy is the
    // first one, or when no first copy answers.
    explicit SingleInstanceGuard(QWidget* owner);
    SingleInstanceGuard(QWidget* owner, const QString& title);
    ~SingleInstanceGuard() override;

    // False when this copy found a first one and asked the program to end.
    bool IsFirstCopy() const { return first_; }
    bool IsListening() const;

    // The local socket name for a title on a display (per user, safe as a file name).
    static QString ServerName(const QString& title, const QString& display);
    // The display this program shows its windows on: the X display, the Wayland socket, or the
    // platform's name where there is neither (offscreen).
    static QString CurrentDisplay();

    static constexpr int WaitMs = 500;

private:
    enum class Reply { Raised, NoFirstCopy, Silent };

    void Check(const QString& title);
    Reply AskFirstCopy(const QString& name);
    void Listen(const QString& name);
    void RaiseOwner();

    QPointer<QWidget> owner_;
    QLocalServer* server_ = nullptr;
    bool first_ = true;
};

} // namespace ui

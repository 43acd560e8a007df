// The single-instance guard: the first copy of a program listens under its application title;
// a second copy asks it to restore and raise its main window and then ends.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QWidget;

namespace ui {

class TJustOne32 : public QObject {
    Q_OBJECT
public:
    // Runs the check under the application's display title; returns only when this copy is the
    // first one, or when no first copy answers.
    explicit TJustOne32(QWidget* owner);
    TJustOne32(QWidget* owner, const QString& title);
    ~TJustOne32() override;

    // False when this copy found a first one and asked the program to end.
    bool IsFirstCopy() const { return first_; }
    bool IsListening() const;

    // The local socket name for a title (per user, safe as a file name).
    static QString ServerName(const QString& title);

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

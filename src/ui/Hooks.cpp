#include "ui/Hooks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ui {

namespace {

BeepHook& BeepSlot() {
    static BeepHook hook;
    return hook;
}
MessageHook& MessageSlot() {
    static MessageHook hook;
    return hook;
}
HelpHook& HelpSlot() {
    static HelpHook hook;
    return hook;
}
ClockHook& ClockSlot() {
    static ClockHook hook;
    return hook;
}
EndProgramHook& EndSlot() {
    static EndProgramHook hook;
    return hook;
}

template <typename Hook> Hook Replace(Hook& slot, Hook hook) {
    Hook old = std::move(slot);
    slot = std::move(hook);
    return old;
}

QString CaptionOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Warning: return QStringLiteral("Warning");
    case BoxKind::Confirmation: return QStringLiteral("Confirm");
    case BoxKind::Information: return QStringLiteral("Information");
    case BoxKind::Error: break;
    }
    const QString title = ProgramTitle();
    return title.isEmpty() ? QStringLiteral("Error") : title;
}

QMessageBox::Icon IconOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Warning: return QMessageBox::Warning;
    case BoxKind::Confirmation: return QMessageBox::Question;
    case BoxKind::Information: return QMessageBox::Information;
    case BoxKind::Error: break;
    }
    return QMessageBox::Critical;
}

} // namespace

BeepHook SetBeepHook(BeepHook hook) { return Replace(BeepSlot(), std::move(hook)); }
MessageHook SetMessageHook(MessageHook hook) { return Replace(MessageSlot(), std::move(hook)); }
HelpHook SetHelpHook(HelpHook hook) {
    InstallHelpKey();
    return Replace(HelpSlot(), std::move(hook));
}
ClockHook SetClockHook(ClockHook hook) { return Replace(ClockSlot(), std::move(hook)); }
EndProgramHook SetEndProgramHook(EndProgramHook hook) {
    return Replace(EndSlot(), std::move(hook));
}

void Beep() {
    if (BeepSlot())
        BeepSlot()();
    else
        QApplication::beep();
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, BoxKind kind, const QString& text,
                                        QMessageBox::StandardButtons buttons) {
    if (MessageSlot()) return MessageSlot()(parent, kind, text, buttons);
    QMessageBox box(IconOf(kind), CaptionOf(kind), text, buttons, parent);
    int result = box.exec();
    if (result == QMessageBox::NoButton || !(buttons & QMessageBox::StandardButton(result))) {
        if (buttons & QMessageBox::Cancel) return QMessageBox::Cancel;
        if (buttons & QMessageBox::No) return QMessageBox::No;
        return QMessageBox::Ok;
    }
    return QMessageBox::StandardButton(result);
}

void ShowHelp(QWidget* parent, int context) {
    if (HelpSlot()) {
        HelpSlot()(context);
        return;
    }
    ShowMessage(parent, BoxKind::Information, QStringLiteral("Help context %1").arg(context));
}

int HelpContextOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        bool ok = false;
        const int context = w->property("helpContext").toInt(&ok);
        if (ok && context != 0) return context;
    }
    return 0;
}

namespace {

class HelpKeyFilter final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        // Each key press passes several receivers; the one it was sent to decides.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || (widget != QApplication::focusWidget() && widget != widget->window()))
            return false;
        const int context = HelpContextOf(widget);
        if (context == 0) return false;
        ShowHelp(widget->window(), context);
        return true;
    }
};

} // namespace

void InstallHelpKey() {
    static QPointer<HelpKeyFilter> filter;
    if (filter || !qApp) return;
    filter = new HelpKeyFilter(qApp);
    qApp->installEventFilter(filter);
}

hostdb::DateTimeValue Now() {
    if (ClockSlot()) return ClockSlot()();
    return hostdb::LocalNow();
}

hostdb::DateTimeValue Today() { return std::floor(Now()); }

void EndProgram(int exitCode) {
    if (EndSlot()) {
        EndSlot()(exitCode);
        return;
    }
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

namespace {
QString& TitleStore() {
    static QString title;
    return title;
}
} // namespace

void SetProgramTitle(const QString& title) { TitleStore() = title; }
QString ProgramTitle() { return TitleStore(); }

} // namespace ui

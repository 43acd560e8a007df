#include "ui/AboutBox.h"

#include "hostdb/SystemInfo.h"
#include "platform/Locale.h"
#include "ui/BevelPanel.h"
#include "ui/DialogParts.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace ui {

namespace {

QFont AboutFont() {
    QFont f(QStringLiteral("Arial"), 8);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QDialog* MakeWindow() {
    auto* d = new QDialog(nullptr, FixedDialogFlags());
    d->setFont(AboutFont());
    return d;
}

// A memo that looks like part of the window: no frame, no scroll bars, not editable.
QPlainTextEdit* MakeMemo(QWidget* parent) {
    auto* m = new QPlainTextEdit(parent);
    m->setFrameShape(QFrame::NoFrame);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setReadOnly(true);
    m->setFocusPolicy(Qt::NoFocus);
    m->setTextInteractionFlags(Qt::NoTextInteraction);
    m->viewport()->setAutoFillBackground(false);
    m->setAutoFillBackground(false);
    m->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    m->document()->setDocumentMargin(0);
    return m;
}

QPixmap ApplicationIcon() {
    QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) return icon.pixmap(32, 32);
    // Without an icon of its own the program shows a small bar chart.
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.fillRect(2, 2, 28, 28, QColor(12, 36, 84));
    p.fillRect(7, 18, 4, 9, QColor(90, 220, 120));
    p.fillRect(14, 12, 4, 15, QColor(90, 220, 120));
    p.fillRect(21, 6, 4, 21, QColor(255, 210, 80));
    return pm;
}

} // namespace

AboutBox::AboutBox(QObject* owner)
    : QObject(owner), Copyright(QStringLiteral("1997-2026 Ostravl Software")),
      MainText{QStringLiteral("Ostravl Software"), QStringLiteral("1250 Harbor Road, Suite 4"),
               QStringLiteral("Bayport, OR 97000"), QStringLiteral("Telephone: (555) 014-2290"),
               QStringLiteral("E-mail: support@ostravl.example")},
      WarningText{QStringLiteral("Warning: this program is protected"),
                  QStringLiteral("by copyright law. Copying it or"),
                  QStringLiteral("giving it to others without the"),
                  QStringLiteral("maker's written permission is"),
                  QStringLiteral("prohibited and will be prosecuted.")} {
    QFontMetrics fm(AboutFont());
    metrics_.w = fm.horizontalAdvance(QStringLiteral("Abcde fghijk"));
    metrics_.h = fm.height();
    BuildAbout();
    BuildSystemInfo();
}

AboutBox::~AboutBox() {
    delete info_.data();
    delete about_.data();
}

void AboutBox::BuildAbout() {
    about_ = MakeWindow();
    about_->setObjectName(QStringLiteral("ZrAboutWindow"));
    TitleLabel = new QLabel(about_);
    QFont bold = AboutFont();
    bold.setBold(true);
    TitleLabel->setFont(bold);
    IconBevel = new BevelPanel(about_, BevelPanel::Bevel::None, BevelPanel::Bevel::Lowered);
    IconBevel->SetFramed(true);
    IconImage = new QLabel(IconBevel);
    VersionLabel = new QLabel(about_);
    NoticeLabel = new QLabel(about_);
    MainMemo = MakeMemo(about_);
    Line = new BevelLine(about_);
    OKButton = new QPushButton(QStringLiteral("&OK"), about_);
    OKButton->setDefault(true);
    SystemInfoButton = new QPushButton(QStringLiteral("&System Info..."), about_);
    WarningMemo = MakeMemo(about_);
    connect(OKButton, &QPushButton::clicked, about_, &QDialog::accept);
    connect(SystemInfoButton, &QPushButton::clicked, this, &AboutBox::SystemInfoClick);
}

void AboutBox::BuildSystemInfo() {
    info_ = MakeWindow();
    info_->setObjectName(QStringLiteral("ZrSystemInfoWindow"));
    info_->setWindowTitle(QStringLiteral("System Info"));
    for (QLabel*& label : InfoLabels) label = new QLabel(info_);
    InfoOKButton = new QPushButton(QStringLiteral("&OK"), info_);
    InfoOKButton->setDefault(true);
    connect(InfoOKButton, &QPushButton::clicked, info_, &QDialog::accept);
}

namespace {

// A memo cannot scroll: it is as tall as its text wrapped to its width, at least `design`.
int MemoHeight(const QPlainTextEdit* memo, int width, int design) {
    const QRect text = QFontMetrics(memo->font())
                           .boundingRect(QRect(0, 0, std::max(width, 1), 1 << 20), Qt::TextWordWrap,
                                         memo->toPlainText());
    return std::max(design, text.height() + 2);
}

} // namespace

void AboutBox::LayOutAbout() {
    const AboutMetrics& k = metrics_;
    int width = k.W(300), m = k.W(6), a = k.H(4);
    int bevelRight = width - m - 6; // the bevel's right edge
    IconBevel->setGeometry(bevelRight - 42, m, 42, 42);
    IconImage->setGeometry(k.W(4), a, 32, 32);
    TitleLabel->adjustSize();
    TitleLabel->move(m, m);
    VersionLabel->adjustSize();
    VersionLabel->move(m, TitleLabel->geometry().bottom() + 2);
    NoticeLabel->adjustSize();
    NoticeLabel->move(m, VersionLabel->geometry().bottom() + 2);
    int memoTop = m + 42 + 3 * a;
    MainMemo->setGeometry(m, memoTop, bevelRight - m,
                          MemoHeight(MainMemo, bevelRight - m, k.H(90)));
    Line->setGeometry(m, MainMemo->geometry().bottom() + 1 + a, bevelRight - m, 2);
    int lineBottom = Line->geometry().bottom() + 1;
    OKButton->setGeometry(m, lineBottom + 3 * a, k.W(80), k.H(24));
    SystemInfoButton->setGeometry(m, OKButton->geometry().bottom() + 1 + 2 * a, k.W(80), k.H(24));
    int warnLeft = OKButton->geometry().right() + 1 + k.W(12);
    WarningMemo->setGeometry(warnLeft, lineBottom + a, bevelRight - warnLeft,
                             MemoHeight(WarningMemo, bevelRight - warnLeft, k.H(70)));
    about_->setFixedSize(width, WarningMemo->geometry().bottom() + 1 + 2 * a);
}

void AboutBox::LayOutSystemInfo() {
    const AboutMetrics& k = metrics_;
    int m = k.W(6);
    int top = m, widest = 0;
    for (QLabel* label : InfoLabels) {
        label->adjustSize();
        label->move(m, top);
        top = label->geometry().bottom() + 1 + k.H(4);
        widest = std::max(widest, label->width());
    }
    // Long lines (big memories, long kernel names) widen the window rather than being cut.
    int width = std::max(k.W(192), widest + 2 * m);
    int buttonTop = InfoLabels[3]->geometry().bottom() + 1 + k.H(12);
    InfoOKButton->setGeometry((width - k.W(80)) / 2, buttonTop, k.W(80), k.H(24));
    info_->setFixedSize(width, std::max(k.H(160), InfoOKButton->geometry().bottom() + 1 + m));
}

void AboutBox::Prepare() {
    IconImage->setPixmap(ApplicationIcon());
    about_->setWindowTitle(Caption);
    TitleLabel->setText(AppTitle);
    VersionLabel->setText(QStringLiteral("Version: ") + Version);
    NoticeLabel->setText(QStringLiteral("Copyright") + QChar(0xA9) + QStringLiteral(" ") +
                         Copyright);
    MainMemo->setPlainText(MainText.join(QLatin1Char('\n')));
    WarningMemo->setPlainText(WarningText.join(QLatin1Char('\n')));
    LayOutAbout();
}

void AboutBox::Execute() {
    Prepare();
    about_->exec();
}

void AboutBox::SetSystemInfoLines(const std::array<std::string, 4>& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        InfoLabels[i]->setText(QString::fromStdString(lines[i]));
    LayOutSystemInfo();
}

void AboutBox::PrepareSystemInfo() {
    SetSystemInfoLines(
        hostdb::SystemInfoLines(hostdb::ReadSystemFacts(), platform::SystemLocale()));
}

void AboutBox::SystemInfoClick() {
    PrepareSystemInfo();
    info_->exec();
}

} // namespace ui

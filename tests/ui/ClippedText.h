// Which texts of a window do not fit their widgets at the default font: labels, push buttons,
// check boxes, radio buttons, every item of a combo box and memos that cannot scroll.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStringList>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace uitest {

namespace detail {

inline QString Shown(QString text) { return text.remove(QRegularExpression("&(?!&)")); }

inline int Widest(const QFontMetrics& fm, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split('\n'))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

} // namespace detail

// "Class name 'text' needs N, has M" for each widget shown within `root` whose text is cut.
inline QStringList ClippedTexts(const QWidget* root) {
    QStringList cut;
    const auto report = [&](const QWidget* w, const QString& text, int needs, int has) {
        if (needs > has)
            cut << QStringLiteral("%1 %2 '%3' needs %4, has %5")
                       .arg(w->metaObject()->className(), w->objectName(), text)
                       .arg(needs)
                       .arg(has);
    };
    for (const QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || w->width() <= 0) continue;
        const QFontMetrics fm = w->fontMetrics();
        const QStyle* style = w->style();
        // A control that reaches past its panel or dialog is cut by it.
        const bool control = qobject_cast<const QLabel*>(w) || qobject_cast<const QComboBox*>(w) ||
                             qobject_cast<const QPushButton*>(w) ||
                             qobject_cast<const QCheckBox*>(w) ||
                             qobject_cast<const QRadioButton*>(w);
        if (control && w->parentWidget() && !w->parentWidget()->rect().contains(w->geometry()))
            cut << QStringLiteral("%1 %2 reaches past its parent %3")
                       .arg(w->metaObject()->className(), w->objectName(),
                            w->parentWidget()->metaObject()->className());
        // Nor may it lie over another control.
        if (control && w->parentWidget())
            for (const QObject* o : w->parentWidget()->children()) {
                const auto* other = qobject_cast<const QWidget*>(o);
                if (!other || other == w || !other->isVisibleTo(root) || o < w) continue;
                const bool otherControl = qobject_cast<const QLabel*>(o) ||
                                          qobject_cast<const QComboBox*>(o) ||
                                          qobject_cast<const QAbstractButton*>(o);
                // A line's box touching the next line's is no overlap; half a line is.
                const QRect both = other->geometry() & w->geometry();
                if (otherControl && both.width() > 4 &&
                    2 * both.height() >= std::min(other->height(), w->height()))
                    cut << QStringLiteral("%1 '%2' lies over %3 '%4'")
                               .arg(w->metaObject()->className(), w->property("text").toString(),
                                    other->metaObject()->className(),
                                    other->property("text").toString());
            }
        if (const auto* m = qobject_cast<const QPlainTextEdit*>(w)) {
            if (m->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) continue;
            // Lines as laid out, wrapped ones counted as they show.
            int lines = 0;
            for (QTextBlock b = m->document()->begin(); b.isValid(); b = b.next())
                lines += b.layout() && b.layout()->lineCount() > 0 ? b.layout()->lineCount() : 1;
            report(w, m->toPlainText().section('\n', 0, 0) + "...",
                   lines * QFontMetrics(m->font()).lineSpacing(), m->viewport()->height());
        } else if (const auto* l = qobject_cast<const QLabel*>(w)) {
            const QString text = detail::Shown(l->text());
            if (text.trimmed().isEmpty() || l->wordWrap() || Qt::mightBeRichText(text)) continue;
            const int margins = 2 * l->margin() + std::max(l->indent(), 0);
            report(w, text, detail::Widest(fm, text), l->contentsRect().width() - margins);
            report(w, text, static_cast<int>(text.count('\n') + 1) * fm.height(),
                   l->contentsRect().height());
        } else if (const auto* c = qobject_cast<const QComboBox*>(w)) {
            // Qt's own measure of the longest item with the arrow beside it.
            QComboBox all;
            all.setFont(c->font());
            all.setStyle(c->style());
            for (int i = 0; i < c->count(); ++i) all.addItem(c->itemText(i));
            report(w, c->currentText(), all.sizeHint().width(), c->width());
        } else if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
            const QString text = detail::Shown(b->text());
            if (text.trimmed().isEmpty()) continue;
            int beside = 0; // what the button draws beside its text
            if (qobject_cast<const QCheckBox*>(w))
                beside = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
                         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
            else if (qobject_cast<const QRadioButton*>(w))
                beside = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w) +
                         style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w);
            else if (qobject_cast<const QPushButton*>(w))
                beside = 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w) +
                         (b->icon().isNull() ? 0 : b->iconSize().width() + 4);
            else
                continue; // tool buttons show glyphs
            report(w, text, detail::Widest(fm, text) + beside, b->width());
        }
    }
    return cut;
}

} // namespace uitest

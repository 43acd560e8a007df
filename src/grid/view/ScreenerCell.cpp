#include "grid/view/ScreenerCell.h"

#include <QFontMetrics>
#include <QPainter>
#include <array>

namespace gridview {

namespace {

// The host's ANSI code page above 0x7F where it differs from Latin-1.
constexpr std::array<char16_t, 32> Ansi80 = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

bool IsUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (n < 0 || (n > 0 && i + static_cast<std::size_t>(n) >= s.size())) return false;
        for (int k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) >> 6) != 2)
                return false;
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
}

QFont StyledFont(const QString& name, int pointSize, unsigned style) {
    QFont f(name, pointSize);
    f.setBold(style & grid::StyleBold);
    f.setItalic(style & grid::StyleItalic);
    f.setUnderline(style & grid::StyleUnderline);
    f.setStrikeOut(style & grid::StyleStrikeOut);
    return f;
}

// Fills the pixels of the segment from `from` to `to` without `to` itself.
void Segment(QPainter& p, QPoint from, QPoint to, const QColor& colour) {
    if (from == to) return;
    const int dx = (to.x() > from.x()) - (to.x() < from.x());
    const int dy = (to.y() > from.y()) - (to.y() < from.y());
    const QPoint last = to - QPoint(dx, dy);
    p.fillRect(QRect(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                     QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y()))),
               colour);
}

} // namespace

QString CellText(const std::string& text) {
    if (IsUtf8(text)) return QString::fromStdString(text);
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        out += b >= 0x80 && b < 0xA0 ? QChar(Ansi80[b - 0x80]) : QChar(b);
    }
    return out;
}

CellPlan PlanGridCell(const CellContext& cell, const QString& fontName, int pointSize,
                      const QPalette& palette, QSize iconSize) {
    const grid::CellGrid& g = *cell.grid;
    CellPlan plan;
    // The owner: a whole-row cell, or the spanning cell on the left of blank span cells.
    const grid::CellFormat* own = g.Format(cell.col, cell.row);
    const bool wholeRow = own && own->Span < 0;
    int owner = cell.col;
    if (wholeRow) {
        owner = 0;
    } else {
        for (;;) {
            const grid::CellFormat* f = g.Format(owner, cell.row);
            if (!(f && f->Span > 1 && g.Text(owner, cell.row) == " " && owner > 0)) break;
            --owner;
        }
    }
    plan.ownerCol = owner;
    static const grid::CellFormat Default;
    const grid::CellFormat& f = g.Format(owner, cell.row) ? *g.Format(owner, cell.row) : Default;
    const int span = wholeRow || f.Span < 0 ? g.ColCount() : f.Span;

    const grid::GridRect& sel = g.Selection;
    plan.selected =
        owner >= sel.left && owner <= sel.right && cell.row >= sel.top && cell.row <= sel.bottom;

    plan.rect = cell.rect;
    for (int c = owner; c < owner + span && c < g.ColCount(); ++c) {
        QRect r = cell.columnRect ? cell.columnRect(c) : QRect();
        if (!r.isEmpty()) plan.rect = plan.rect.united(r);
    }

    plan.font = StyledFont(fontName, pointSize, f.Style);
    const QColor grey = palette.color(QPalette::Disabled, QPalette::WindowText);
    plan.fixed = cell.fixed;
    if (plan.selected) {
        plan.background = palette.color(QPalette::Highlight);
        plan.foreground = palette.color(QPalette::HighlightedText);
        plan.inset = 0;
    } else if (cell.fixed && f.Span >= 0) {
        plan.background = palette.color(QPalette::Button);
        plan.foreground = f.Dim ? grey : palette.color(QPalette::ButtonText);
        plan.inset = 2;
    } else {
        plan.background = palette.color(QPalette::Base);
        plan.foreground = f.Dim ? grey : palette.color(QPalette::Text);
        plan.inset = 1;
    }

    plan.text = CellText(g.Text(owner, cell.row));
    const QFontMetrics fm(plan.font);
    const int width = plan.rect.width(), textWidth = fm.horizontalAdvance(plan.text);
    const int left = plan.rect.left(), right = plan.rect.left() + width;
    switch (f.Alignment) {
    case grid::AlignLeft: plan.textX = left + (cell.fixed ? 4 : 2); break;
    case grid::AlignCentre: plan.textX = left + (width - textWidth) / 2; break;
    case grid::AlignDash: {
        const qsizetype dash = plan.text.indexOf('-');
        plan.textX =
            left + width / 2 - fm.horizontalAdvance(dash < 0 ? plan.text : plan.text.left(dash));
        break;
    }
    default: plan.textX = right - 2 - textWidth;
    }
    const int height = plan.rect.height();
    plan.textY = plan.rect.top() - 1 + (height - fm.height() + 1) / 2; // the height of "Tg"
    plan.clip = QRect(left + plan.inset, plan.rect.top(), width - 2 * plan.inset, height);

    plan.icon = f.Images;
    plan.iconPos = QPoint(left + (width - iconSize.width()) / 2,
                          plan.rect.top() + (height - iconSize.height()) / 2);
    return plan;
}

void PaintGridCell(QPainter& p, const CellPlan& plan, int row, int fixedRows,
                   const QPalette& palette, const QPixmap& icon) {
    p.fillRect(plan.rect, plan.background);
    p.save();
    p.setClipRect(plan.clip);
    p.setFont(plan.font);
    p.setPen(plan.foreground);
    p.drawText(plan.textX, plan.textY + QFontMetrics(plan.font).ascent(), plan.text);
    p.restore();

    if (plan.fixed) {
        // One raised box per column over the title rows: no line between them.
        const int F = fixedRows, L = plan.rect.left(), T = plan.rect.top();
        const int R = L + plan.rect.width(), B = T + plan.rect.height();
        const QColor light = palette.color(QPalette::Light), dark = palette.color(QPalette::Dark);
        const int leftEnd = row >= F - 1 ? B - 1 : B + 2;
        if (row == 0 || row >= F) {
            Segment(p, {R - 1, T + 1}, {L + 1, T + 1}, light);
            Segment(p, {L + 1, T + 1}, {L + 1, leftEnd}, light);
        } else {
            Segment(p, {L + 1, T}, {L + 1, leftEnd}, light);
        }
        const int rightEnd = row == 0 ? T : T - 1;
        if (row >= F - 1) {
            Segment(p, {L + 1, B - 1}, {R - 1, B - 1}, dark);
            Segment(p, {R - 1, B - 1}, {R - 1, rightEnd}, dark);
        } else {
            Segment(p, {R - 1, B + 1}, {R - 1, rightEnd}, dark);
        }
    }
    if (plan.icon && !icon.isNull()) p.drawPixmap(plan.iconPos, icon);
}

QPixmap ChartIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.fillRect(QRect(1, 1, 14, 14), QColor(255, 255, 240));
    p.setPen(QColor(64, 64, 64));
    p.drawRect(QRect(1, 1, 13, 13));
    // Daily bars rising to the right, the last one red as the chart's cursor day.
    const int tops[] = {9, 7, 8, 5, 6, 3};
    for (int i = 0; i < 6; ++i) {
        p.setPen(i == 5 ? QColor(200, 0, 0) : QColor(0, 0, 160));
        p.drawLine(3 + 2 * i, tops[i], 3 + 2 * i, tops[i] + 4);
    }
    return pm;
}

GridView::CellPainter ScreenerCellPainter() {
    return [icon = ChartIcon()](QPainter& p, const GridView& view, int col, int row, QRect rect,
                                bool fixed) {
        CellContext cell{view.Grid(), col,   row,
                         rect,        fixed, [&](int c) { return view.CellRect(c, row); }};
        const CellPlan plan = PlanGridCell(cell, "Arial", 10, view.palette(), icon.size());
        PaintGridCell(p, plan, row, view.Grid()->FixedRows(), view.palette(), icon);
    };
}

} // namespace gridview

// Two windows in one picture for the documentation, the first on the left.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <algorithm>

inline QImage SideBySide(QWidget& left, QWidget& right) {
    const QImage a = left.grab().toImage(), b = right.grab().toImage();
    QImage both(a.width() + 8 + b.width(), std::max(a.height(), b.height()), QImage::Format_RGB32);
    both.fill(Qt::white);
    QPainter p(&both);
    p.drawImage(0, 0, a);
    p.drawImage(a.width() + 8, 0, b);
    return both;
}

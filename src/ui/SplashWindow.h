// The splash window shown while a program loads; it goes away by itself as soon as another
// window of the program (the main window) is activated.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QFrame;
class QLabel;

namespace ui {

// The product picture (320 x 260): a price chart under the product's name, drawn here so the
// deliverable carries no image file.
QPixmap MakeProductPicture(const QString& title, const QString& subtitle);

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(const QPixmap& picture, QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* Image1;

protected:
    void changeEvent(QEvent* event) override;

private:
    void WindowActivated(QWindow* window);
};

// Creates the splash without an owner, shows it and paints it at once.
QPointer<SplashWindow> ShowSplash(const QPixmap& picture);

} // namespace ui

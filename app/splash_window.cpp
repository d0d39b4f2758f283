// SPDX-License-Identifier: MIT
#include "app/splash_window.h"

#include "app/window_font.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QWindow>

TdlgSplash::TdlgSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("dlgSplash"));
    setWindowTitle(QStringLiteral("Vellamore"));
    setFont(FormFont());
    setFixedSize(632, 397);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    Panel = BuildCreditPanel(this, 0);
    CentreOnScreen(this);
}

void TdlgSplash::ShowAndPaint() {
    show();
    raise();
    // A window system maps the window asynchronously; paint once it can be seen, since the
    // wait that follows processes no events.
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
    QGuiApplication::sync();
}

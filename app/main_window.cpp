// SPDX-License-Identifier: MIT
#include "app/main_window.h"

#include "app/window_font.h"

TfMain::TfMain(QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("fMain"));
    setFont(FormFont());
    resize(640, 480);
    CentreOnScreen(this);
}

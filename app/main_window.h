// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

/// The program's main window.
class TfMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfMain(QWidget* parent = nullptr);
};

// SPDX-License-Identifier: MIT
#pragma once

#include "app/credit_panel.h"

#include <QWidget>

/// The borderless splash window shown while the program starts.
class TdlgSplash : public QWidget {
    Q_OBJECT
public:
    explicit TdlgSplash(QWidget* parent = nullptr);

    /// Shows the window and paints it at once, before the start-up wait blocks the loop.
    void ShowAndPaint();

    CreditPanel Panel;
};

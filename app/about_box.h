// SPDX-License-Identifier: MIT
#pragma once

#include "app/credit_panel.h"

#include <QDialog>

class QPushButton;

/// The About window: the splash picture and texts with an OK button.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    CreditPanel Panel;
    QPushButton* BitBtn1 = nullptr;
};

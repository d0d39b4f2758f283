// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QLabel;
class QWidget;

/// The picture and the four text labels that the splash and About windows share.
struct CreditPanel {
    QLabel* Image1 = nullptr;
    QLabel* lblQuantity = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblLine1 = nullptr;
    QLabel* lblLine2 = nullptr;

    /// Sets the product texts taken from the INI file.
    void SetTexts(const QString& quantity, const QString& line1, const QString& line2);
};

/// Creates the panel's controls on the window, the picture's left edge at imageLeft.
CreditPanel BuildCreditPanel(QWidget* window, int imageLeft);

/// The publisher's copyright line.
QString CopyrightText();

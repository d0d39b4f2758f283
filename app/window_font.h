// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

class QWidget;

/// The forms' window font: "MS Sans Serif", 11 pixels (8 point).
QFont FormFont();

/// Places a top-level window of the given client size in the middle of the primary screen.
void CentreOnScreen(QWidget* window);

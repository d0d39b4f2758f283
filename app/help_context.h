// SPDX-License-Identifier: MIT
#pragma once

class QObject;
class QWidget;

/// The help topic number of a control or menu item (0 for none).
void SetHelpContext(QObject* object, int context);
int HelpContext(const QObject* object);

/// The number of the widget or, when it has none, of the nearest enclosing widget that has.
int EnclosingHelpContext(const QWidget* widget);

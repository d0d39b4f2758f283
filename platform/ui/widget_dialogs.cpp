// SPDX-License-Identifier: MIT
#include "platform/ui/widget_dialogs.h"

#include "platform/ui/scanner_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace platform {

int WidgetDialogs::MessageBox(QWidget* parent, const QString& text, const QString& caption,
                              unsigned flags) {
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDOK;
    }
}

std::optional<QString> WidgetDialogs::PromptText(QWidget* parent, const QString& caption,
                                                 const QString& label, bool password) {
    bool ok = false;
    const QString text = QInputDialog::getText(
        parent, caption, label, password ? QLineEdit::Password : QLineEdit::Normal, {}, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> WidgetDialogs::SaveFileName(QWidget* parent, const QString& caption,
                                                   const QString& initialDir,
                                                   const QString& fileName, const QString& filter) {
    QString start = initialDir;
    if (!fileName.isEmpty())
        start = initialDir.isEmpty() ? fileName : initialDir + u'/' + fileName;
    const QString chosen = QFileDialog::getSaveFileName(parent, caption, start, filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<int> WidgetDialogs::ChooseScanner(QWidget* parent,
                                                const QList<ScannerDevice>& devices, int current) {
    ScannerChoiceDialog dialog(parent, devices, current);
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen() < 0)
        return std::nullopt;
    return dialog.Chosen();
}

bool WidgetDialogs::ScanSettings(QWidget* parent, ScanRequest& request) {
    ScanSettingsDialog dialog(parent, request);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request = dialog.Result();
    return true;
}

} // namespace platform

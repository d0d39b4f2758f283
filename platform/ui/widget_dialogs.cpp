// SPDX-License-Identifier: MIT
#include "platform/ui/widget_dialogs.h"

#include "platform/ui/printer.h"
#include "platform/ui/printer_setup.h"
#include "platform/ui/scanner_dialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QVBoxLayout>

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

QString QtFilter(const QString& filter) {
    // "description|pattern|..." becomes "description (pattern);;...".
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i].trimmed() + QStringLiteral(" (") +
                       QString(parts[i + 1]).replace(u';', u' ') + u')';
    return entries.join(QStringLiteral(";;"));
}

std::optional<QString> WidgetDialogs::SaveFileName(QWidget* parent, const SaveRequest& request) {
    QFileDialog dialog(parent, request.caption, request.initialDir, QtFilter(request.filter));
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The toolkit's own dialog: the same under every desktop, and one tests can drive.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

bool WidgetDialogs::PrintDialog(QWidget* parent) {
    QPrintDialog dialog(&Printer().Device(), parent);
    return dialog.exec() == QDialog::Accepted;
}

bool WidgetDialogs::PrintDialogWithOptions(QWidget* parent, const QList<QWidget*>& optionTabs) {
    QPrintDialog dialog(&Printer().Device(), parent);
    dialog.setOptionTabs(optionTabs);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // The pages stay the caller's: they leave the dialog before it goes.
    for (QWidget* tab : optionTabs)
        tab->setParent(nullptr);
    return accepted;
}

bool WidgetDialogs::PrinterSetupDialog(QWidget* parent) {
    // The toolkit's page setup has no printer choice on this platform: a dialog of our own.
    PrinterSetup dialog(Printer().Device(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.Apply(Printer().Device());
    return true;
}

bool WidgetDialogs::PrintPreview(QWidget* parent, const std::function<void()>& paint) {
    QPrintPreviewDialog dialog(&Printer().Device(), parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    dialog.resize(800, 640);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter*) { paint(); });
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> WidgetDialogs::ChooseFolder(QWidget* parent, const QString& caption,
                                                   const QString& start) {
    const QString dir = QFileDialog::getExistingDirectory(parent, caption, start);
    if (dir.isEmpty())
        return std::nullopt;
    return dir;
}

bool WidgetDialogs::OptionsDialog(QWidget* parent, QWidget* page) {
    QDialog dialog(parent);
    dialog.setWindowTitle(page->windowTitle());
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(page);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    page->show();
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // The page stays the caller's: it leaves the dialog before it goes.
    layout->removeWidget(page);
    page->setParent(nullptr);
    return accepted;
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

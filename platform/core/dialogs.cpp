// SPDX-License-Identifier: MIT
#include "platform/core/dialogs.h"

#include <QTextStream>

namespace platform {

namespace {

DialogService*& Installed() {
    static DialogService* service = nullptr;
    return service;
}

DialogService*& Default() {
    static DialogService* service = nullptr;
    return service;
}

} // namespace

DialogService& Dialogs() {
    static NoDialogs none;
    if (DialogService* service = Installed())
        return *service;
    DialogService* real = Default();
    return real ? *real : none;
}

void SetDefaultDialogService(DialogService* service) {
    Default() = service;
}

void SetDialogService(DialogService* service) {
    Installed() = service;
}

int NoDialogs::MessageBox(QWidget*, const QString& text, const QString&, unsigned) {
    QTextStream(stderr) << text << '\n';
    return IDCANCEL;
}

std::optional<QString> NoDialogs::PromptText(QWidget*, const QString&, const QString&, bool) {
    return std::nullopt;
}

std::optional<QString> NoDialogs::SaveFileName(QWidget*, const SaveRequest&) {
    return std::nullopt;
}

std::optional<int> DialogService::ChooseScanner(QWidget*, const QList<ScannerDevice>&,
                                                int current) {
    return current;
}

bool DialogService::ScanSettings(QWidget*, ScanRequest&) {
    return true;
}

bool DialogService::PrintDialog(QWidget*) {
    return false;
}

bool DialogService::PrintDialogWithOptions(QWidget* parent, const QList<QWidget*>&) {
    return PrintDialog(parent);
}

bool DialogService::PrinterSetupDialog(QWidget*) {
    return false;
}

std::optional<QString> DialogService::ChooseFolder(QWidget*, const QString&, const QString&) {
    return std::nullopt;
}

bool DialogService::OptionsDialog(QWidget*, QWidget*) {
    return false;
}

bool DialogService::PrintPreview(QWidget*, const std::function<void()>&) {
    return false;
}

} // namespace platform

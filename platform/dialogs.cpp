// SPDX-License-Identifier: MIT
#include "platform/dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextStream>

namespace platform {

namespace {

class QtDialogService final : public DialogService {
public:
    int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                   unsigned flags) override {
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

    std::optional<QString> PromptText(QWidget* parent, const QString& caption, const QString& label,
                                      bool password) override {
        bool ok = false;
        const QString text = QInputDialog::getText(
            parent, caption, label, password ? QLineEdit::Password : QLineEdit::Normal, {}, &ok);
        if (!ok)
            return std::nullopt;
        return text;
    }

    std::optional<QString> SaveFileName(QWidget* parent, const QString& caption,
                                        const QString& initialDir, const QString& fileName,
                                        const QString& filter) override {
        QString start = initialDir;
        if (!fileName.isEmpty())
            start = initialDir.isEmpty() ? fileName : initialDir + u'/' + fileName;
        const QString chosen = QFileDialog::getSaveFileName(parent, caption, start, filter);
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen;
    }
};

DialogService*& Installed() {
    static DialogService* service = nullptr;
    return service;
}

} // namespace

DialogService& Dialogs() {
    static QtDialogService real;
    DialogService* service = Installed();
    return service ? *service : real;
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

std::optional<QString> NoDialogs::SaveFileName(QWidget*, const QString&, const QString&,
                                               const QString&, const QString&) {
    return std::nullopt;
}

} // namespace platform

// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace platform {

/// Buttons and icon of a message box, as the classic flags combine them.
enum MessageBoxFlags : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};

/// What a message box gives back.
enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

/// Every modal question the program asks goes through this interface, so tests can answer.
class DialogService {
public:
    virtual ~DialogService() = default;

    virtual int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                           unsigned flags) = 0;

    /// Asks for one line of text; nothing when the user cancels.
    virtual std::optional<QString> PromptText(QWidget* parent, const QString& caption,
                                              const QString& label, bool password) = 0;

    /// Asks for a file name to save to; nothing when the user cancels.
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& caption,
                                                const QString& initialDir, const QString& fileName,
                                                const QString& filter) = 0;
};

/// For programs without windows: message boxes go to standard error and every question is
/// answered with "cancel".
class NoDialogs : public DialogService {
public:
    int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                   unsigned flags) override;
    std::optional<QString> PromptText(QWidget* parent, const QString& caption, const QString& label,
                                      bool password) override;
    std::optional<QString> SaveFileName(QWidget* parent, const QString& caption,
                                        const QString& initialDir, const QString& fileName,
                                        const QString& filter) override;
};

/// The service in force: one a test or tool installed, else the default (the real dialogs
/// once the application has set them), else no dialogs.
DialogService& Dialogs();

/// Installs a service (not owned); null restores the default.
void SetDialogService(DialogService* service);

/// Sets the default service (not owned), the real dialogs of a program with windows.
void SetDefaultDialogService(DialogService* service);

} // namespace platform

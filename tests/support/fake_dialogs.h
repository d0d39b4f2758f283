// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>

/// Answers the program's dialogs from a script and records what they asked.
/// Installs itself for its lifetime.
class FakeDialogs : public platform::DialogService {
public:
    FakeDialogs();
    ~FakeDialogs() override;

    struct Box {
        QString text;
        QString caption;
        unsigned flags;
    };
    std::vector<Box> boxes;
    std::deque<int> boxAnswers; // IDOK when empty
    QStringList prompts;
    std::deque<std::optional<QString>> promptAnswers; // cancel when empty

    int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                   unsigned flags) override;
    std::optional<QString> PromptText(QWidget* parent, const QString& caption, const QString& label,
                                      bool password) override;
    std::optional<QString> SaveFileName(QWidget* parent,
                                        const platform::SaveRequest& request) override;
    std::deque<std::optional<QString>> saveAnswers; // cancel when empty
    std::optional<QString> ChooseFolder(QWidget* parent, const QString& caption,
                                        const QString& start) override;
    std::deque<std::optional<QString>> folderAnswers; // cancel when empty
    QStringList folderStarts;
    std::vector<platform::SaveRequest> saveRequests;
    bool PrintDialog(QWidget* parent) override;
    bool PrinterSetupDialog(QWidget* parent) override;
    /// The print dialog with option pages: `printOptions` (when set) changes them as a user
    /// would, then the next print answer is given.
    bool PrintDialogWithOptions(QWidget* parent, const QList<QWidget*>& optionTabs) override;
    std::function<void(const QList<QWidget*>&)> printOptions;
    std::deque<bool> printAnswers; // cancel when empty
    int printDialogs = 0, setupDialogs = 0, previews = 0;
    /// The print preview: `previewAnswer` (when set) gets what paints its pages.
    bool PrintPreview(QWidget* parent, const std::function<void()>& paint) override;
    std::function<bool(const std::function<void()>&)> previewAnswer;
    /// A command's options page: changed as a user would; its answer (cancel when empty).
    bool OptionsDialog(QWidget* parent, QWidget* page) override;
    std::function<bool(QWidget*)> optionsAnswer;
    int optionsDialogs = 0;

    // Scanner dialogs: the lists and requests shown; the answers given.
    std::vector<QList<platform::ScannerDevice>> scannerLists;
    std::vector<int> scannerCurrents;
    std::deque<std::optional<int>> scannerAnswers; // the current one when empty
    std::vector<platform::ScanRequest> scanRequests;
    /// Changes the request as a user would; false cancels. Empty: the device's settings.
    std::function<bool(platform::ScanRequest&)> scanAnswer;
    std::optional<int> ChooseScanner(QWidget* parent, const QList<platform::ScannerDevice>& devices,
                                     int current) override;
    bool ScanSettings(QWidget* parent, platform::ScanRequest& request) override;
};

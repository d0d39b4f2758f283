// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/dialogs.h"

namespace platform {

/// A filter of the "description|pattern|description|pattern" form as the toolkit's file
/// dialogs take it ("description (pattern);;...").
QString QtFilter(const QString& filter);

/// The dialog service of a program with windows: message boxes, a line prompt and the save
/// file dialog of the toolkit. The application installs it as the default service.
class WidgetDialogs final : public DialogService {
public:
    int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                   unsigned flags) override;
    std::optional<QString> PromptText(QWidget* parent, const QString& caption, const QString& label,
                                      bool password) override;
    std::optional<QString> SaveFileName(QWidget* parent, const SaveRequest& request) override;
    std::optional<QString> ChooseFolder(QWidget* parent, const QString& caption,
                                        const QString& start) override;
    bool PrintDialog(QWidget* parent) override;
    bool PrintDialogWithOptions(QWidget* parent, const QList<QWidget*>& optionTabs) override;
    bool PrinterSetupDialog(QWidget* parent) override;
    bool OptionsDialog(QWidget* parent, QWidget* page) override;
    bool PrintPreview(QWidget* parent, const std::function<void()>& paint) override;
    std::optional<int> ChooseScanner(QWidget* parent, const QList<ScannerDevice>& devices,
                                     int current) override;
    bool ScanSettings(QWidget* parent, ScanRequest& request) override;
};

} // namespace platform

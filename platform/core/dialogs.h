// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
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

/// A scanner as the scanner library names it.
struct ScannerDevice {
    QString name, vendor, model, type;
};

/// What a scan asks of the user: the device's mode, resolution and area (millimetres), with
/// a preview of the whole area. The dialog changes the chosen values.
struct ScanRequest {
    QString device;
    QStringList modes;
    int mode = -1;             // -1: the device has no modes
    QList<double> resolutions; // a list, or empty for the range below
    double resolutionMin = 0, resolutionMax = 0, resolutionStep = 0;
    double resolution = 0; // 0: the device has no resolution
    bool hasArea = false;
    QRectF areaLimit, area;
    /// A quick scan of the whole area with the current settings; null on failure.
    std::function<QImage(const ScanRequest&)> preview;
};

/// What a file-save dialog shows: the filter as "description|pattern|description|pattern",
/// the extension a name without one gets, and whether an existing file is asked about.
struct SaveRequest {
    QString caption, initialDir, fileName, filter;
    QString defaultExtension;
    bool confirmOverwrite = true;
};

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
    virtual std::optional<QString> SaveFileName(QWidget* parent, const SaveRequest& request) = 0;
    /// Asks for a folder, starting in `start`; nothing when the user cancels. Without
    /// windows: nothing.
    virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& caption,
                                                const QString& start);

    /// The print dialog for the program's printer; false when the user cancels. Without
    /// windows: false.
    virtual bool PrintDialog(QWidget* parent);
    /// The print dialog with pages of the command's own options beside the printer's (not
    /// owned; their values are read after it closes). By default the plain print dialog.
    virtual bool PrintDialogWithOptions(QWidget* parent, const QList<QWidget*>& optionTabs);
    /// The printer setup for the program's printer (which printer, its paper and the page's
    /// orientation); false when the user cancels.
    virtual bool PrinterSetupDialog(QWidget* parent);
    /// A preview of the pages `paint` prints on the program's printer (it paints whenever the
    /// preview needs the pages, and again when the user prints from it). Without windows:
    /// false, nothing painted.
    virtual bool PrintPreview(QWidget* parent, const std::function<void()>& paint);
    /// A page of a command's own options (not owned; its window title is the caption, its
    /// values are read after the dialog closes) with OK and Cancel; false when the user
    /// cancels. Without windows: false.
    virtual bool OptionsDialog(QWidget* parent, QWidget* page);

    /// Asks which scanner to use; its index, or nothing when the user cancels. Without
    /// windows: the current one.
    virtual std::optional<int> ChooseScanner(QWidget* parent, const QList<ScannerDevice>& devices,
                                             int current);
    /// Shows the scan settings; false when the user cancels. Without windows: the device's
    /// own settings are taken.
    virtual bool ScanSettings(QWidget* parent, ScanRequest& request);
};

/// For programs without windows: message boxes go to standard error and every question is
/// answered with "cancel".
class NoDialogs : public DialogService {
public:
    int MessageBox(QWidget* parent, const QString& text, const QString& caption,
                   unsigned flags) override;
    std::optional<QString> PromptText(QWidget* parent, const QString& caption, const QString& label,
                                      bool password) override;
    std::optional<QString> SaveFileName(QWidget* parent, const SaveRequest& request) override;
};

/// The service in force: one a test or tool installed, else the default (the real dialogs
/// once the application has set them), else no dialogs.
DialogService& Dialogs();

/// Installs a service (not owned); null restores the default.
void SetDialogService(DialogService* service);

/// Sets the default service (not owned), the real dialogs of a program with windows.
void SetDefaultDialogService(DialogService* service);

} // namespace platform

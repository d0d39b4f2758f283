// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/dialogs.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;

namespace platform {

/// "Select Scanner": the scanners found, the current one selected.
class ScannerChoiceDialog : public QDialog {
    Q_OBJECT
public:
    ScannerChoiceDialog(QWidget* parent, const QList<ScannerDevice>& devices, int current);
    int Chosen() const;
    QListWidget* List() const { return list_; }

private:
    QListWidget* list_;
};

class ScanAreaView;

/// "Scan Image": the device's mode, resolution and scan area, with a preview of the whole
/// area on which the area can be drawn with the mouse.
class ScanSettingsDialog : public QDialog {
    Q_OBJECT
public:
    ScanSettingsDialog(QWidget* parent, const ScanRequest& request);
    /// The request with the user's choices.
    ScanRequest Result() const;
    /// Runs the preview scan and shows it.
    void Preview();
    /// The size in pixels the scan will have with the current choices.
    QSize ExpectedPixels() const;

private:
    void AreaChanged();
    void ShowArea(const QRectF& area);
    void UpdateSize();

    ScanRequest request_;
    QComboBox* mode_ = nullptr;
    QComboBox* resolutionList_ = nullptr;
    QDoubleSpinBox* resolution_ = nullptr;
    QDoubleSpinBox* area_[4] = {};
    ScanAreaView* view_ = nullptr;
    QLabel* size_ = nullptr;
};

} // namespace platform

// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/export/picture_export.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

/// The options of File > Export Pictures: the folder, the format (or the pictures as they are
/// stored), how vector pictures go, and a size to fit them into. The last choices are kept.
class ExportOptionsPage : public QWidget {
public:
    ExportOptionsPage();

    QString Folder() const;
    imaging::ExportOptions Options() const;
    /// Keeps the choices for the next export.
    void Remember() const;

private:
    void FormatChanged();
    void Browse();

    QLineEdit* folder_;
    QComboBox* format_;
    QComboBox* vectors_;
    QCheckBox* fit_;
    QSpinBox* fitWidth_;
    QSpinBox* fitHeight_;
};

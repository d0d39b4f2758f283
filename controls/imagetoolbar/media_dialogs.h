// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace controls {

/// The open dialog the toolbar uses: a file dialog with a preview of the picture and, for a
/// TIFF of several pages, the page to show (TiffSelectedPage, counted from 0).
class TMMOpenDialog : public QObject {
    Q_OBJECT
public:
    explicit TMMOpenDialog(QObject* owner = nullptr)
        : QObject(owner) {}
    /// True when the user chose a file.
    virtual bool Execute(QWidget* parent);
    QString FileName;
    QString Filter; // "description|pattern|..."; the media filter when empty
    int TiffSelectedPage = 0;
};

/// The save dialog the toolbar uses, with the formats the toolbar writes.
class TMMSaveDialog : public QObject {
    Q_OBJECT
public:
    explicit TMMSaveDialog(QObject* owner = nullptr)
        : QObject(owner) {}
    virtual bool Execute(QWidget* parent);
    QString FileName;
};

/// The print dialog for the program's printer.
class TPrintDialog : public QObject {
    Q_OBJECT
public:
    explicit TPrintDialog(QObject* owner = nullptr)
        : QObject(owner) {}
    virtual bool Execute(QWidget* parent);
};

} // namespace controls

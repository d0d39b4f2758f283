// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;
namespace imaging {
class Decoder;
struct DecodeResult;
} // namespace imaging

namespace controls {

/// How a contact sheet lays out its pages: a grid of cells under a header.
struct ContactSheetLayout {
    static constexpr int kMaxColumns = 8, kMaxRows = 10;
    int Columns = 4;
    int Rows = 5;

    int PerPage() const { return Columns * Rows; }
    int Pages(int records) const {
        return records <= 0 ? 0 : (records + PerPage() - 1) / PerPage();
    }
    /// The cell of the `index`th record of a page, in the page's body.
    QRectF Cell(const QRectF& body, int index) const;
};

/// One record on a contact sheet.
struct ContactSheetEntry {
    QString FileName;
    QString Description;
    QByteArray Picture; // the record's picture field
};

/// Prints records several to a page: each picture fitted into its cell (bitmaps with all their
/// pixels, metafiles as vectors) with its file name and description under it, and a header on
/// every page. The pictures of a page are decoded by the decoder's workers together.
class ContactSheet {
public:
    ContactSheet(imaging::Decoder& decoder, ContactSheetLayout layout, QString header);

    /// Prints `count` records, `read(i)` giving the ith; `progress(page, pages)` is told before
    /// each page and may stop the job by answering false. False when the device cannot be
    /// painted on, or the job was stopped.
    bool Print(QPagedPaintDevice& device, int count,
               const std::function<ContactSheetEntry(int)>& read,
               const std::function<bool(int, int)>& progress = {}) const;

    /// Draws one record into a cell (on any painter).
    static void PaintCell(QPainter& painter, const QRectF& cell, const ContactSheetEntry& entry,
                          const imaging::DecodeResult& picture);

private:
    imaging::Decoder& decoder_;
    ContactSheetLayout layout_;
    QString header_;
};

} // namespace controls

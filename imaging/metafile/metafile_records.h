// SPDX-License-Identifier: MIT
#pragma once

#include "engines/dib/dib_layout.h"
#include "imaging/metafile/metafile_player.h"

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace imaging {

/// The bytes of one metafile record, read with bounds checks: a read past the end gives 0
/// and marks the record damaged, which the players check after each record.
class RecordBytes {
public:
    RecordBytes(const std::uint8_t* data, std::size_t size)
        : data_(data)
        , size_(size) {}

    std::size_t Size() const { return size_; }
    const std::uint8_t* Data() const { return data_; }
    bool Has(std::size_t at, std::size_t length) const {
        return at <= size_ && length <= size_ - at;
    }
    bool Damaged() const { return damaged_; }
    void MarkDamaged() const { damaged_ = true; }

    std::uint8_t U8(std::size_t at) const { return Has(at, 1) ? data_[at] : Bad(); }
    std::uint16_t U16(std::size_t at) const { return Has(at, 2) ? dib::Get16(data_ + at) : Bad(); }
    std::int16_t S16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::uint32_t U32(std::size_t at) const { return Has(at, 4) ? dib::Get32(data_ + at) : Bad(); }
    std::int32_t S32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    float F32(std::size_t at) const {
        const std::uint32_t bits = U32(at);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    /// A colour reference: red in the low byte, then green, then blue.
    QColor Colour(std::size_t at) const {
        const std::uint32_t c = U32(at);
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }

private:
    std::uint8_t Bad() const {
        damaged_ = true;
        return 0;
    }
    const std::uint8_t* data_;
    std::size_t size_;
    mutable bool damaged_ = false;
};

/// The transform that lays the rectangle `from` onto `to`.
inline QTransform MapOnto(const QRectF& from, const QRectF& to) {
    return QTransform::fromTranslate(-from.left(), -from.top()) *
           QTransform::fromScale(to.width() / from.width(), to.height() / from.height()) *
           QTransform::fromTranslate(to.left(), to.top());
}

/// Runs a player over a metafile's bytes: `play(file, problem)` reads the header and the
/// records; the painter's state is kept around it and `*error` gets the problem (or nothing).
template <class Play>
bool RunPlayer(const QByteArray& bytes, QPainter& painter, QString* error, Play play) {
    const RecordBytes file(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           std::size_t(bytes.size()));
    QString problem;
    painter.save();
    const bool ok = play(file, problem);
    painter.restore();
    if (error)
        *error = ok ? QString() : problem;
    return ok;
}

/// What a player reads of a record's first bytes: its size in bytes, its kind, whether it is
/// the last record, and whether its size can be right at all.
struct RecordHead {
    std::size_t size = 0;
    std::uint32_t kind = 0;
    bool end = false;
    bool valid = false;
};

/// Walks the records from `at` to the end record: `head(at)` reads a record's head (at least
/// `headBytes` are there), `play(record, kind)` draws it and gives false, with `*problem`
/// set, for a record over a limit. Stops at a record that is cut, damaged or one too many.
template <class Head, class Play>
bool PlayRecords(const RecordBytes& file, std::size_t at, std::size_t headBytes, Head head,
                 Play play, QString* problem) {
    int records = 0;
    for (;;) {
        if (!file.Has(at, headBytes)) {
            *problem = QStringLiteral("The metafile ends without its last record");
            return false;
        }
        const RecordHead h = head(at);
        if (h.end)
            return true;
        if (!h.valid || !file.Has(at, h.size)) {
            *problem = QStringLiteral("A metafile record is damaged");
            return false;
        }
        if (++records > MetafileLimits::Records) {
            *problem = QStringLiteral("The metafile has too many records");
            return false;
        }
        const RecordBytes record(file.Data() + at, h.size);
        if (!play(record, h.kind))
            return false;
        if (record.Damaged()) {
            *problem = QStringLiteral("A metafile record is damaged");
            return false;
        }
        at += h.size;
    }
}

} // namespace imaging

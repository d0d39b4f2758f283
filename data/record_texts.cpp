// SPDX-License-Identifier: MIT
#include "data/record_texts.h"

#include <QLatin1StringView>
#include <QStringView>
#include <QUtf8StringView>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace data {

namespace {

constexpr std::size_t kMaxShared = 16;

bool IsAscii(const char* bytes, std::size_t size) {
    unsigned char any = 0;
    for (std::size_t i = 0; i < size; ++i)
        any |= static_cast<unsigned char>(bytes[i]);
    return any < 0x80;
}

} // namespace

RecordTexts::RecordTexts(int columns)
    : columns_(std::max(columns, 0))
    , seen_(std::size_t(columns_)) {}

// A cell is its length and width as a variable-length number (seven bits a byte, low bits
// first), then its characters: bytes, or 16-bit units starting on an even place.
void RecordTexts::Header(std::size_t length, bool wide) {
    if (block_.size() > std::numeric_limits<std::uint32_t>::max() - 16 - 2 * length)
        throw std::length_error("the texts of the records are too large");
    cells_.push_back(static_cast<std::uint32_t>(block_.size()));
    std::uint64_t value = (std::uint64_t(length) << 1) | (wide ? 1 : 0);
    do {
        const auto byte = static_cast<unsigned char>(value & 0x7f);
        value >>= 7;
        block_.push_back(static_cast<char>(byte | (value ? 0x80 : 0)));
    } while (value);
    if (wide && block_.size() % 2)
        block_.push_back('\0');
}

QAnyStringView RecordTexts::View(std::size_t record, int column) const {
    if (column < 0 || column >= columns_ || record >= Records())
        return {};
    return ViewAt(Place(record, column));
}

QAnyStringView RecordTexts::ViewAt(std::size_t at) const {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(block_[at++]);
        value |= std::uint64_t(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            break;
    }
    const auto length = static_cast<qsizetype>(value >> 1);
    if (value & 1) {
        at += at % 2;
        return QStringView(reinterpret_cast<const char16_t*>(block_.data() + at), length);
    }
    return QLatin1StringView(block_.data() + at, length);
}

QString RecordTexts::Text(std::size_t record, int column) const {
    return View(record, column).toString();
}

bool RecordTexts::Shared(QAnyStringView text) {
    Seen& seen = seen_[cells_.size() % std::size_t(columns_)];
    if (!seen.sharing)
        return false;
    for (std::uint32_t place : seen.places) {
        if (QAnyStringView::equal(ViewAt(place), text)) {
            cells_.push_back(place);
            return true;
        }
    }
    return false;
}

void RecordTexts::Remember(std::size_t column) {
    Seen& seen = seen_[column];
    if (!seen.sharing)
        return;
    if (seen.places.size() < kMaxShared)
        seen.places.push_back(cells_.back());
    else
        seen.sharing = false;
}

void RecordTexts::AddLatin1(const char* bytes, std::size_t size) {
    Header(size, false);
    block_.insert(block_.end(), bytes, bytes + size);
}

void RecordTexts::AddWide(const char16_t* units, std::size_t size) {
    Header(size, true);
    const auto* bytes = reinterpret_cast<const char*>(units);
    block_.insert(block_.end(), bytes, bytes + 2 * size);
}

void RecordTexts::Add(const QString& text) {
    if (columns_ == 0 || Shared(text))
        return;
    const std::size_t before = cells_.size();
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; })) {
        const QByteArray latin1 = text.toLatin1();
        AddLatin1(latin1.constData(), std::size_t(latin1.size()));
    } else {
        AddWide(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
    }
    Remember(before % std::size_t(columns_));
}

void RecordTexts::AddUtf8(const char* bytes, std::size_t size) {
    if (columns_ == 0)
        return;
    if (IsAscii(bytes, size)) {
        if (Shared(QLatin1StringView(bytes, qsizetype(size))))
            return;
        const std::size_t column = cells_.size() % std::size_t(columns_);
        AddLatin1(bytes, size);
        Remember(column);
        return;
    }
    Add(QString::fromUtf8(bytes, qsizetype(size)));
}

void RecordTexts::Reorder(const std::vector<std::size_t>& order) {
    const auto n = std::size_t(columns_);
    std::vector<std::uint32_t> cells(order.size() * n);
    for (std::size_t i = 0; i < order.size(); ++i)
        std::copy_n(cells_.begin() + std::ptrdiff_t(order[i] * n), n,
                    cells.begin() + std::ptrdiff_t(i * n));
    cells_.swap(cells);
}

void RecordTexts::Squeeze() {
    block_.shrink_to_fit();
    cells_.shrink_to_fit();
    seen_.assign(seen_.size(), Seen{{}, false});
}

std::size_t RecordTexts::MemoryBytes() const {
    return block_.capacity() + cells_.capacity() * sizeof(std::uint32_t);
}

} // namespace data

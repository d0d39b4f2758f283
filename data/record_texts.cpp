// SPDX-License-Identifier: MIT
#include "data/record_texts.h"

#include "platform/core/large_blocks.h"

#include <QLatin1StringView>
#include <QStringView>
#include <QUtf8StringView>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace data {

namespace {

constexpr std::size_t kMaxShared = 16;
// Places from here on name cells held on their own, not in a block.
constexpr std::uint32_t kLongPlaces = 0xff000000u;

bool IsAscii(const char* bytes, std::size_t size) {
    unsigned char any = 0;
    for (std::size_t i = 0; i < size; ++i)
        any |= static_cast<unsigned char>(bytes[i]);
    return any < 0x80;
}

// The first block of a kind takes ordinary pages, so a small table only takes the few it
// writes; the blocks after it, of a large one, lie on huge pages where the system has them.
std::shared_ptr<char[]> Block(bool first, std::size_t bytes) {
    return first ? std::shared_ptr<char[]>(new char[bytes]) : platform::LargeBlock(bytes);
}

} // namespace

RecordTexts::RecordTexts(int columns)
    : columns_(std::max(columns, 0))
    , seen_(std::size_t(columns_)) {}

void RecordTexts::PushCell(std::uint32_t place) {
    constexpr std::size_t kCells = std::size_t(1) << kCellBits;
    if (cellCount_ % kCells == 0)
        cells_.push_back(Block(cells_.empty(), kCells * sizeof(std::uint32_t)));
    reinterpret_cast<std::uint32_t*>(cells_.back().get())[cellCount_ % kCells] = place;
    ++cellCount_;
}

// A cell is its length and width as a variable-length number (seven bits a byte, low bits
// first), then its characters: bytes, or 16-bit units starting on an even place. The cell is
// placed whole in a block; the room for its characters is returned, or null for a cell longer
// than a block, which is held on its own.
char* RecordTexts::Room(std::size_t length, bool wide) {
    constexpr std::size_t kBlock = std::size_t(1) << kBlockBits;
    const std::size_t bytes = 10 + 1 + (wide ? 2 : 1) * length;
    if (bytes > kBlock / 4)
        return nullptr;
    if (blocks_.empty() || used_ + bytes > kBlock) {
        if (blocks_.size() >= kLongPlaces >> kBlockBits)
            throw std::length_error("the texts of the records are too large");
        blocks_.push_back(Block(blocks_.empty(), kBlock));
        used_ = 0;
    }
    char* block = blocks_.back().get();
    PushCell(static_cast<std::uint32_t>(((blocks_.size() - 1) << kBlockBits) | used_));
    std::uint64_t value = (std::uint64_t(length) << 1) | (wide ? 1 : 0);
    do {
        const auto byte = static_cast<unsigned char>(value & 0x7f);
        value >>= 7;
        block[used_++] = static_cast<char>(byte | (value ? 0x80 : 0));
    } while (value);
    if (wide && used_ % 2)
        block[used_++] = '\0';
    char* room = block + used_;
    used_ += (wide ? 2 : 1) * length;
    return room;
}

QAnyStringView RecordTexts::View(std::size_t record, int column) const {
    if (column < 0 || column >= columns_ || record >= Records())
        return {};
    return ViewAt(Place(record, column));
}

QAnyStringView RecordTexts::ViewAt(std::uint32_t place) const {
    const Held held = HeldAt(place);
    if (held.wide)
        return QStringView(reinterpret_cast<const char16_t*>(held.data), held.length);
    return QLatin1StringView(held.data, held.length);
}

RecordTexts::Held RecordTexts::HeldAt(std::uint32_t place) const {
    if (place >= kLongPlaces) {
        const QString& text = long_[place - kLongPlaces];
        return {reinterpret_cast<const char*>(text.utf16()), text.size(), true};
    }
    const char* block = blocks_[place >> kBlockBits].get();
    std::size_t at = place & ((std::size_t(1) << kBlockBits) - 1);
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(block[at++]);
        value |= std::uint64_t(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            break;
    }
    const auto length = static_cast<qsizetype>(value >> 1);
    const bool wide = value & 1;
    if (wide)
        at += at % 2;
    return {block + at, length, wide};
}

QString RecordTexts::Text(std::size_t record, int column) const {
    return View(record, column).toString();
}

// Whether the column's cell takes a value it holds already, given as it would be held (bytes,
// or 16-bit units when `wide`): compared as bytes, so a million categories cost a few compares.
bool RecordTexts::Shared(const char* bytes, std::size_t length, bool wide) {
    Seen& seen = seen_[cellCount_ % std::size_t(columns_)];
    if (!seen.sharing)
        return false;
    for (std::uint32_t place : seen.places) {
        const Held held = HeldAt(place);
        if (held.wide == wide && std::size_t(held.length) == length &&
            std::memcmp(held.data, bytes, (wide ? 2 : 1) * length) == 0) {
            PushCell(place);
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
        seen.places.push_back(CellAt(cellCount_ - 1));
    else
        seen.sharing = false;
}

// Appends a cell given as it is held, shared when the column holds it already.
void RecordTexts::AddHeld(const char* bytes, std::size_t length, bool wide) {
    if (Shared(bytes, length, wide))
        return;
    const std::size_t column = cellCount_ % std::size_t(columns_);
    if (char* room = Room(length, wide)) {
        std::memcpy(room, bytes, (wide ? 2 : 1) * length);
    } else {
        if (long_.size() >= std::size_t(~kLongPlaces))
            throw std::length_error("the texts of the records are too large");
        PushCell(kLongPlaces + std::uint32_t(long_.size()));
        long_.push_back(wide ? QString(reinterpret_cast<const QChar*>(bytes), qsizetype(length))
                             : QString::fromLatin1(bytes, qsizetype(length)));
    }
    Remember(column);
}

void RecordTexts::Add(const QString& text) {
    if (columns_ == 0)
        return;
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; })) {
        const QByteArray latin1 = text.toLatin1();
        AddHeld(latin1.constData(), std::size_t(latin1.size()), false);
    } else {
        AddHeld(reinterpret_cast<const char*>(text.utf16()), std::size_t(text.size()), true);
    }
}

void RecordTexts::AddUtf8(const char* bytes, std::size_t size) {
    if (columns_ == 0)
        return;
    if (IsAscii(bytes, size))
        AddHeld(bytes, size, false);
    else
        Add(QString::fromUtf8(bytes, qsizetype(size)));
}

void RecordTexts::Reorder(const std::vector<std::size_t>& order) {
    const auto n = std::size_t(columns_);
    RecordTexts reordered(*this);
    reordered.cells_.clear();
    reordered.cellCount_ = 0;
    for (std::size_t record : order)
        for (std::size_t c = 0; c < n; ++c)
            reordered.PushCell(CellAt(record * n + c));
    *this = std::move(reordered);
}

void RecordTexts::Finish() {
    seen_.assign(seen_.size(), Seen{{}, false});
}

std::size_t RecordTexts::MemoryBytes() const {
    std::size_t longBytes = 0;
    for (const QString& text : long_)
        longBytes += sizeof(QString) + 2 * std::size_t(text.size());
    const std::size_t blockBytes =
        blocks_.empty() ? 0 : ((blocks_.size() - 1) << kBlockBits) + used_;
    return blockBytes + cellCount_ * sizeof(std::uint32_t) + longBytes;
}

} // namespace data

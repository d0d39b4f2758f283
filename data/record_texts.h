// SPDX-License-Identifier: MIT
#pragma once

#include <QAnyStringView>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace data {

/// The text values of every record of a store, held compactly: the characters of all cells
/// end to end in blocks of a few megabytes, one byte a character where every character of a
/// cell fits in a byte (two otherwise), and one 32-bit place a cell. Blocks are only added,
/// never grown and copied, so reading a million records writes each byte once; a copy of the
/// texts shares the blocks. A value that repeats (a category) is kept once
/// and shared. A million records with a file name and a description take tens of bytes each,
/// where a string apiece would take hundreds.
class RecordTexts {
public:
    RecordTexts() = default;
    explicit RecordTexts(int columns);

    int Columns() const { return columns_; }
    std::size_t Records() const { return columns_ > 0 ? cellCount_ / std::size_t(columns_) : 0; }

    /// Appends the next cell (records fill column by column) from UTF-8 bytes. Throws
    /// std::length_error when the texts pass the 4 GiB the places can address.
    void AddUtf8(const char* bytes, std::size_t size);
    void Add(const QString& text);

    /// A cell's text; empty for a cell that is not there.
    QString Text(std::size_t record, int column) const;
    /// A cell's characters where they are held: valid until the texts change.
    QAnyStringView View(std::size_t record, int column) const;
    /// Where a cell's characters are held: equal values that were shared have equal places.
    std::uint32_t Place(std::size_t record, int column) const {
        return CellAt(record * std::size_t(columns_) + std::size_t(column));
    }

    /// Puts the records in a new order: record i becomes the one that was order[i].
    void Reorder(const std::vector<std::size_t>& order);
    /// Stops sharing once every record is in. The blocks keep their spare room: it was never
    /// written, so it takes no memory, where making them fit would copy every character again.
    void Finish();
    /// The memory the texts take.
    std::size_t MemoryBytes() const;

private:
    void AddHeld(const char* bytes, std::size_t length, bool wide);
    char* Room(std::size_t length, bool wide);
    void PushCell(std::uint32_t place);
    std::uint32_t CellAt(std::size_t index) const {
        return reinterpret_cast<const std::uint32_t*>(
            cells_[index >> kCellBits].get())[index & ((std::size_t(1) << kCellBits) - 1)];
    }
    bool Shared(const char* bytes, std::size_t length, bool wide);
    void Remember(std::size_t column);
    QAnyStringView ViewAt(std::uint32_t place) const;
    struct Held {
        const char* data;
        qsizetype length; // in characters
        bool wide;        // two bytes a character
    };
    Held HeldAt(std::uint32_t place) const;

    static constexpr int kBlockBits = 22; // 4 MiB blocks
    static constexpr int kCellBits = 20;  // a million cells a block
    int columns_ = 0;
    std::vector<std::shared_ptr<char[]>> blocks_;
    std::size_t used_ = 0; // bytes of the last block written
    std::vector<std::shared_ptr<char[]>> cells_;
    std::size_t cellCount_ = 0;
    // Cells too long for a block (no catalogue has them; a table may), held on their own.
    std::vector<QString> long_;
    // Values seen in each column, to share; a column with many values soon stops sharing.
    struct Seen {
        std::vector<std::uint32_t> places;
        bool sharing = true;
    };
    std::vector<Seen> seen_;
};

} // namespace data

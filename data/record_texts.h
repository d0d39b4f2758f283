// SPDX-License-Identifier: MIT
#pragma once

#include <QAnyStringView>
#include <QString>

#include <cstdint>
#include <vector>

namespace data {

/// The text values of every record of a store, held compactly: the characters of all cells
/// end to end in one block, one byte a character where every character of a cell fits in a byte
/// (two otherwise), and one 32-bit offset a cell. A value that repeats (a category) is kept once
/// and shared. A million records with a file name and a description take tens of bytes each,
/// where a string apiece would take hundreds.
class RecordTexts {
public:
    RecordTexts() = default;
    explicit RecordTexts(int columns);

    int Columns() const { return columns_; }
    std::size_t Records() const { return columns_ > 0 ? cells_.size() / std::size_t(columns_) : 0; }

    /// Appends the next cell (records fill column by column) from UTF-8 bytes. Throws
    /// std::length_error when the texts pass the 4 GiB a block can address.
    void AddUtf8(const char* bytes, std::size_t size);
    void Add(const QString& text);

    /// A cell's text; empty for a cell that is not there.
    QString Text(std::size_t record, int column) const;
    /// A cell's characters where they are held: valid until the texts change.
    QAnyStringView View(std::size_t record, int column) const;
    /// Where a cell's characters are held: equal values that were shared have equal places.
    std::uint32_t Place(std::size_t record, int column) const {
        return cells_[record * std::size_t(columns_) + std::size_t(column)];
    }

    /// Puts the records in a new order: record i becomes the one that was order[i].
    void Reorder(const std::vector<std::size_t>& order);
    /// Gives back spare capacity once every record is in.
    void Squeeze();
    std::size_t MemoryBytes() const;

private:
    void AddLatin1(const char* bytes, std::size_t size);
    void AddWide(const char16_t* units, std::size_t size);
    void Header(std::size_t length, bool wide);
    bool Shared(QAnyStringView text);
    void Remember(std::size_t column);
    QAnyStringView ViewAt(std::size_t place) const;

    int columns_ = 0;
    std::vector<char> block_;
    std::vector<std::uint32_t> cells_;
    // Values seen in each column, to share; a column with many values soon stops sharing.
    struct Seen {
        std::vector<std::uint32_t> places;
        bool sharing = true;
    };
    std::vector<Seen> seen_;
};

} // namespace data

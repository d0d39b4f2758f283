// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace data {

/// Text as finding compares it: accents taken off, case folded.
QString FoldForFind(const QString& text);
/// The words of folded text: runs of letters or of digits (a file name's "BALLOON1" is
/// "balloon" and "1").
QStringList FindWords(const QString& folded);

/// An index of the records' texts (file name and description) that answers a query of words
/// without reading the texts again. A record matches when every query word matches one of its
/// words, in any order: equal, the start of the word, or, for query words of four letters or
/// more, within one edit (insert, delete, replace, or swap of two neighbours) of the word or of
/// its start of the same length. Built once, read from any thread.
class FindIndex {
public:
    /// How well a query matched a record: its weakest word's best match.
    enum class Match : std::uint8_t { Equal, Start, Typo };
    struct Hit {
        std::uint32_t Record;
        Match How;
        bool operator==(const Hit&) const = default;
    };

    /// Adds a record's text; records come in their order (0, 1, 2 ...).
    void Add(std::uint32_t record, const QString& text);
    /// Makes the index ready to answer; no record is added after it.
    void Finish();
    /// Takes in a finished index of the records after this one's (its records numbered on from
    /// this one's), as if they had been added here.
    void Append(FindIndex&& later);
    /// Builds the index of `records` records in `parts` ranges on as many threads at once,
    /// `add(index, record)` adding a record's texts to the part it falls in; the parts are
    /// appended in order.
    static FindIndex BuildInParts(std::uint32_t records,
                                  const std::function<void(FindIndex&, std::uint32_t)>& add,
                                  int parts);

    /// The records every word of the query matches, best first (every word equal, then
    /// starts, then forgiven typos), ties in record order. `within`, when given, holds one flag a
    /// record: only those set are answered. A query without words (or of more than a thousand)
    /// answers nothing.
    std::vector<Hit> Find(const QString& query, const std::vector<bool>* within = nullptr) const;

    std::uint32_t Records() const { return records_; }
    /// The distinct words the records have.
    std::size_t Words() const { return wordStart_.empty() ? 0 : wordStart_.size() - 1; }
    /// The memory the index holds, in bytes.
    std::size_t MemoryBytes() const;

private:
    /// Indexes one word of a record (folded).
    void AddWord(std::uint32_t record, QStringView word);
    QStringView Word(std::size_t w) const {
        return QStringView(words_.data() + wordStart_[w], wordStart_[w + 1] - wordStart_[w]);
    }
    std::u16string_view Building(std::uint32_t id) const {
        return std::u16string_view(arena_.data() + spans_[id].first, spans_[id].second);
    }

    // Every distinct word once, sorted, end to end, each starting at its wordStart_; with the
    // records that have it (ascending) from its firstPosting_.
    std::u16string words_;
    std::vector<std::uint32_t> wordStart_;
    std::vector<std::uint32_t> firstPosting_;
    std::vector<std::uint32_t> postings_;
    std::uint32_t records_ = 0;
    // While building: the distinct words as they came (end to end in arena_), a hash of them
    // (slots hold a word's hash in their high half and its number + 1 in their low half) and the
    // (word, record) pairs as added.
    std::u16string arena_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans_;
    std::vector<std::uint64_t> slots_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs_;
    std::u16string fold_; // a text folded, kept from text to text
};

/// Whether `a` and `b` are at most one edit apart (insert, delete, replace, swap of two
/// neighbours).
bool WithinOneEdit(QStringView a, QStringView b);

} // namespace data

// SPDX-License-Identifier: MIT
// The find index: each distinct word of the records once, sorted, with the records that have
// it. Equal words and starts are found by a binary search in the sorted words; typos by one
// pass over the distinct words (far fewer than the words of all the texts), each compared in
// at most a few steps a letter.
#include "data/find_index.h"

#include <thread>

#include <algorithm>
#include <optional>

namespace data {

namespace {

constexpr int kTypoMinimum = 4;      // shorter query words are never forgiven a typo
constexpr int kMaxQueryWords = 1000; // a longer "query" is pasted text, not a search

// Which of the two runs a character belongs to: 1 letters, 2 digits, 0 neither.
int RunOf(QChar c) {
    return c.isLetter() ? 1 : c.isDigit() ? 2 : 0;
}

// Same length, at most one replacement or one swap of two neighbours apart.
bool SameLengthWithinOne(QStringView a, QStringView b) {
    qsizetype i = 0;
    const qsizetype n = a.size();
    while (i < n && a[i] == b[i])
        ++i;
    if (i == n)
        return true;
    if (i + 1 < n && a[i] == b[i + 1] && a[i + 1] == b[i]) // a swap
        return a.mid(i + 2) == b.mid(i + 2);
    return a.mid(i + 1) == b.mid(i + 1); // a replacement
}

// `longer` is `shorter` with one character inserted.
bool OneInserted(QStringView shorter, QStringView longer) {
    qsizetype i = 0;
    while (i < shorter.size() && shorter[i] == longer[i])
        ++i;
    return shorter.mid(i) == longer.mid(i + 1);
}

// The best match of a query word against a word of a record, if any.
std::optional<FindIndex::Match> MatchOf(QStringView query, QStringView word) {
    if (word.startsWith(query))
        return word.size() == query.size() ? FindIndex::Match::Equal : FindIndex::Match::Start;
    if (query.size() < kTypoMinimum)
        return std::nullopt;
    if (WithinOneEdit(query, word) ||
        (word.size() > query.size() && SameLengthWithinOne(query, word.left(query.size()))))
        return FindIndex::Match::Typo;
    return std::nullopt;
}

} // namespace

QString FoldForFind(const QString& text) {
    // Plain ASCII, the common case, needs no decomposition.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
        QString folded = text;
        for (QChar& c : folded)
            if (c >= u'A' && c <= u'Z')
                c = QChar(c.unicode() + 32);
        return folded;
    }
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            folded += c;
    // Folded fully, as a reader compares: a sharp s is "ss" as in upper case.
    return folded.toCaseFolded().replace(QChar(0x00DF), QLatin1String("ss"));
}

QStringList FindWords(const QString& folded) {
    QStringList words;
    qsizetype start = -1;
    int run = 0;
    for (qsizetype i = 0; i <= folded.size(); ++i) {
        const int here = i < folded.size() ? RunOf(folded[i]) : 0;
        if (here != run) {
            if (run != 0)
                words << folded.mid(start, i - start);
            start = i;
            run = here;
        }
    }
    return words;
}

bool WithinOneEdit(QStringView a, QStringView b) {
    if (a.size() == b.size())
        return SameLengthWithinOne(a, b);
    if (a.size() + 1 == b.size())
        return OneInserted(a, b);
    if (b.size() + 1 == a.size())
        return OneInserted(b, a);
    return false;
}

void FindIndex::Add(std::uint32_t record, const QString& text) {
    records_ = std::max(records_, record + 1);
    // Plain ASCII, the common case, is folded by lower-casing and split in one pass, into a
    // buffer kept from text to text. At the first other character the text goes the whole
    // way; the words met before it are plain, so they come again the same and count once.
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    const std::size_t size = std::size_t(text.size());
    fold_.resize(size);
    std::size_t start = 0;
    int run = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        char16_t u = i < size ? units[i] : u' ';
        if (u >= 0x80) {
            for (const QString& w : FindWords(FoldForFind(text)))
                AddWord(record, w);
            return;
        }
        if (u >= u'A' && u <= u'Z')
            u = char16_t(u + 32);
        const int here = u >= u'a' && u <= u'z' ? 1 : u >= u'0' && u <= u'9' ? 2 : 0;
        if (here != run) {
            if (run != 0)
                AddWord(record, QStringView(fold_.data() + start, qsizetype(i - start)));
            start = i;
            run = here;
        }
        if (i < size)
            fold_[i] = u;
    }
}

namespace {

// FNV-1a over the code units.
std::uint32_t HashOf(std::u16string_view word) {
    std::uint32_t hash = 2166136261u;
    for (char16_t c : word)
        hash = (hash ^ c) * 16777619u;
    return hash;
}

// The first eight code units packed in two numbers, which order words as their text does.
std::pair<std::uint64_t, std::uint64_t> SortKey(std::u16string_view w) {
    std::uint64_t high = 0, low = 0;
    for (std::size_t k = 0; k < 4; ++k)
        high = high << 16 | (k < w.size() ? w[k] : 0);
    for (std::size_t k = 4; k < 8; ++k)
        low = low << 16 | (k < w.size() ? w[k] : 0);
    return {high, low};
}

} // namespace

void FindIndex::AddWord(std::uint32_t record, QStringView text) {
    const std::u16string_view word(reinterpret_cast<const char16_t*>(text.utf16()),
                                   std::size_t(text.size()));
    const std::uint32_t hash = HashOf(word);
    if (spans_.size() * 2 >= slots_.size()) { // grow at half full
        std::vector<std::uint64_t> grown(std::max<std::size_t>(1024, slots_.size() * 2), 0);
        for (std::uint64_t entry : slots_) {
            if (entry == 0)
                continue;
            std::size_t s = (entry >> 32) & (grown.size() - 1);
            while (grown[s] != 0)
                s = (s + 1) & (grown.size() - 1);
            grown[s] = entry;
        }
        slots_ = std::move(grown);
        pairs_.reserve(std::max<std::size_t>(pairs_.capacity(), slots_.size() * 4));
    }
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    for (;; slot = (slot + 1) & mask) {
        const std::uint64_t entry = slots_[slot];
        if (entry == 0) { // a new word
            spans_.emplace_back(std::uint32_t(arena_.size()), std::uint32_t(word.size()));
            arena_.append(word);
            slots_[slot] = std::uint64_t(hash) << 32 | std::uint32_t(spans_.size());
            pairs_.emplace_back(std::uint32_t(spans_.size() - 1), record);
            return;
        }
        const auto id = std::uint32_t(entry) - 1;
        if (std::uint32_t(entry >> 32) == hash && Building(id) == word) {
            pairs_.emplace_back(id, record);
            return;
        }
    }
}

void FindIndex::Finish() {
    // Distinct words in order: sorted by their first eight code units packed in numbers, then
    // in full where those are the same.
    const std::uint32_t count = std::uint32_t(spans_.size());
    struct Sorted {
        std::pair<std::uint64_t, std::uint64_t> key;
        std::uint32_t id;
    };
    std::vector<Sorted> order(count);
    for (std::uint32_t id = 0; id < count; ++id)
        order[id] = {SortKey(Building(id)), id};
    std::sort(order.begin(), order.end(), [this](const Sorted& a, const Sorted& b) {
        if (a.key != b.key)
            return a.key < b.key;
        return Building(a.id) < Building(b.id);
    });
    std::vector<std::uint32_t> place(count);
    words_.clear();
    words_.reserve(arena_.size());
    wordStart_.assign(1, 0);
    for (std::uint32_t i = 0; i < count; ++i) {
        words_.append(Building(order[i].id));
        wordStart_.push_back(std::uint32_t(words_.size()));
        place[order[i].id] = i;
    }
    // Postings by word, records ascending and each once (pairs come in record order).
    firstPosting_.assign(std::size_t(count) + 1, 0);
    std::vector<std::uint32_t> last(count, UINT32_MAX);
    for (const auto& [word, record] : pairs_) {
        const std::uint32_t w = place[word];
        if (last[w] != record) {
            last[w] = record;
            ++firstPosting_[w + 1];
        }
    }
    for (std::size_t w = 0; w < count; ++w)
        firstPosting_[w + 1] += firstPosting_[w];
    postings_.assign(firstPosting_.back(), 0);
    std::vector<std::uint32_t> next(firstPosting_.begin(), firstPosting_.end() - 1);
    std::fill(last.begin(), last.end(), UINT32_MAX);
    for (const auto& [word, record] : pairs_) {
        const std::uint32_t w = place[word];
        if (last[w] != record) {
            last[w] = record;
            postings_[next[w]++] = record;
        }
    }
    arena_ = {};
    spans_ = {};
    slots_ = {};
    pairs_ = {};
    fold_ = {};
}

void FindIndex::Append(FindIndex&& later) {
    if (later.Words() == 0) {
        records_ = std::max(records_, later.records_);
        return;
    }
    if (Words() == 0) {
        const std::uint32_t records = std::max(records_, later.records_);
        *this = std::move(later);
        records_ = records;
        return;
    }
    // Both word lists are sorted: one pass merges them; a word in both keeps this index's
    // records, then the later ones (all greater).
    std::u16string words;
    words.reserve(words_.size() + later.words_.size());
    std::vector<std::uint32_t> starts{0}, firsts{0}, postings;
    starts.reserve(wordStart_.size() + later.wordStart_.size());
    firsts.reserve(starts.capacity());
    postings.reserve(postings_.size() + later.postings_.size());
    auto take = [&](const FindIndex& from, std::size_t w) {
        postings.insert(postings.end(), from.postings_.begin() + from.firstPosting_[w],
                        from.postings_.begin() + from.firstPosting_[w + 1]);
    };
    std::size_t a = 0, b = 0;
    const std::size_t na = Words(), nb = later.Words();
    while (a < na || b < nb) {
        const auto view = [](QStringView w) {
            return std::u16string_view(reinterpret_cast<const char16_t*>(w.utf16()),
                                       std::size_t(w.size()));
        };
        const bool fromA = b == nb || (a < na && view(Word(a)) <= view(later.Word(b)));
        const bool fromB = a == na || (b < nb && view(later.Word(b)) <= view(Word(a)));
        const QStringView word = fromA ? Word(a) : later.Word(b);
        words.append(reinterpret_cast<const char16_t*>(word.utf16()), std::size_t(word.size()));
        if (fromA)
            take(*this, a++);
        if (fromB)
            take(later, b++);
        starts.push_back(std::uint32_t(words.size()));
        firsts.push_back(std::uint32_t(postings.size()));
    }
    words_ = std::move(words);
    wordStart_ = std::move(starts);
    firstPosting_ = std::move(firsts);
    postings_ = std::move(postings);
    records_ = std::max(records_, later.records_);
}

FindIndex FindIndex::BuildInParts(std::uint32_t records,
                                  const std::function<void(FindIndex&, std::uint32_t)>& add,
                                  int parts) {
    parts = std::clamp(parts, 1, 64);
    std::vector<FindIndex> built(static_cast<std::size_t>(parts));
    auto build = [&](int part) {
        const std::uint32_t from = std::uint32_t(std::uint64_t(records) * part / parts);
        const std::uint32_t to = std::uint32_t(std::uint64_t(records) * (part + 1) / parts);
        for (std::uint32_t record = from; record < to; ++record)
            add(built[std::size_t(part)], record);
        built[std::size_t(part)].Finish();
    };
    std::vector<std::thread> threads;
    for (int part = 1; part < parts; ++part)
        threads.emplace_back(build, part);
    build(0);
    for (std::thread& thread : threads)
        thread.join();
    FindIndex index = std::move(built[0]);
    for (int part = 1; part < parts; ++part)
        index.Append(std::move(built[std::size_t(part)]));
    index.records_ = std::max(index.records_, records);
    return index;
}

std::vector<FindIndex::Hit> FindIndex::Find(const QString& query,
                                            const std::vector<bool>* within) const {
    const QStringList queryWords = FindWords(FoldForFind(query));
    if (queryWords.isEmpty() || queryWords.size() > kMaxQueryWords)
        return {};
    // For each record: how many query words it matched so far, and the weakest best match.
    std::vector<std::uint16_t> matched(records_, 0);
    std::vector<std::uint8_t> weakest(records_, 0);
    std::vector<std::uint8_t> best(records_, 0xFF);
    std::vector<std::uint32_t> touched;
    for (int q = 0; q < queryWords.size(); ++q) {
        const QString& word = queryWords[q];
        touched.clear();
        auto take = [&](std::size_t w, Match how) {
            for (std::uint32_t p = firstPosting_[w]; p < firstPosting_[w + 1]; ++p) {
                const std::uint32_t r = postings_[p];
                if (matched[r] != q)
                    continue; // an earlier query word missed it
                if (best[r] == 0xFF)
                    touched.push_back(r);
                best[r] = std::min(best[r], std::uint8_t(how));
            }
        };
        // Equal words and starts lie together where the query word sorts.
        const std::size_t words = Words();
        std::size_t from = 0, to = words;
        while (from < to) { // the first word not before the query word
            const std::size_t mid = from + (to - from) / 2;
            if (Word(mid) < QStringView(word))
                from = mid + 1;
            else
                to = mid;
        }
        std::size_t at = from;
        for (; at < words && Word(at).startsWith(word); ++at)
            take(at, Word(at).size() == word.size() ? Match::Equal : Match::Start);
        if (word.size() >= kTypoMinimum) {
            for (std::size_t w = 0; w < words; ++w) {
                if (w >= from && w < at)
                    continue; // equal or a start: taken already
                const QStringView candidate = Word(w);
                if (candidate.size() + 1 < word.size())
                    continue; // too short for one edit
                if (MatchOf(word, candidate))
                    take(w, Match::Typo);
            }
        }
        for (std::uint32_t r : touched) {
            ++matched[r];
            weakest[r] = std::max(weakest[r], best[r]);
            best[r] = 0xFF;
        }
    }
    std::vector<Hit> hits;
    for (std::uint32_t r : touched)
        if (matched[r] == queryWords.size() && (!within || (r < within->size() && (*within)[r])))
            hits.push_back({r, Match(weakest[r])});
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return a.How != b.How ? a.How < b.How : a.Record < b.Record;
    });
    return hits;
}

std::size_t FindIndex::MemoryBytes() const {
    return sizeof(*this) + words_.capacity() * sizeof(char16_t) +
           (wordStart_.capacity() + firstPosting_.capacity() + postings_.capacity()) *
               sizeof(std::uint32_t);
}

} // namespace data

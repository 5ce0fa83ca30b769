#include "playlist/sort_order.h"

#include "platform/collation.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

namespace listora {
namespace {

// One row's sort key: where it lies, and sixteen of its bytes as two
// big-endian integers, so that nearly every comparison is one or two
// integer comparisons instead of a walk through two keys far apart in
// memory.
struct KeyedRow {
    std::uint64_t head;
    std::uint64_t next;
    const char* key;
    std::uint32_t length;
    std::uint32_t row;
};

// The keys' bytes, in blocks that are never moved: a key stays where it was
// written, and no block is copied as the keys grow.
class KeyArena {
public:
    // The key of a text that begins with `start.text`.
    std::string_view add(const Collator::KeyStart& start, std::string_view text, const Collator& collator) {
        for (;;) {
            const std::size_t room = size_ - used_;
            const std::size_t length =
                room == 0 ? 0 : collator.writeSortKey(start, text, blocks_.back().get() + used_, room);
            if (room > 0 && length < room) {
                const std::string_view key(blocks_.back().get() + used_, length);
                used_ += length;
                return key;
            }
            // A key longer than a block gets a block of its own size.
            size_ = std::max(kBlock, length);
            used_ = 0;
            blocks_.push_back(std::unique_ptr<char[]>(new char[size_]));
        }
    }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t size_ = 0;  // of the last block
    std::size_t used_ = 0;
};

// Where part `part` of `parts` begins in `size` items; part `parts` is the end.
std::size_t partStart(std::size_t size, std::size_t part, std::size_t parts) { return size * part / parts; }

// Runs work(part) for every part, the first on this thread and each other on
// a thread of its own, and once all have ended rethrows the first failure.
template <typename Work>
void onEachPart(std::size_t parts, const Work& work) {
    std::vector<std::exception_ptr> failures(parts);
    const auto run = [&](std::size_t part) {
        try {
            work(part);
        } catch (...) {
            failures[part] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        for (std::size_t part = 1; part < parts; ++part) threads.emplace_back(run, part);
        run(0);
    }
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

std::uint64_t bigEndian(std::string_view bytes, std::size_t from) {
    std::uint64_t value = 0;
    for (std::size_t i = from; i < from + 8; ++i)
        value = value << 8 | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u);
    return value;
}

// The keys of rows [begin, end), in their own arena. Texts repeat a lot in
// a column (unknown titles, common lengths, one album's folder), so a small
// table of recent texts lets each repeat reuse its key instead of collating
// again. A column whose first few thousand texts hold no repeat (full paths)
// is not hashed further.
class KeyPart {
public:
    void make(const std::vector<PlaylistEntry>& rows, int column, const Collator& collator, std::size_t begin,
              std::size_t end, std::vector<KeyedRow>& keys) {
        constexpr std::size_t kRecentSlots = 4096;
        struct Recent {
            std::uint32_t row = UINT32_MAX;
            std::size_t hash = 0;  // so that another text is told apart without reading its row
            std::string_view key;
        };
        constexpr std::size_t kProbe = 4096;
        std::vector<Recent> recent(kRecentSlots);
        std::size_t repeats = 0;
        constexpr std::size_t kAhead = 8;
        for (std::size_t i = begin; i < end; ++i) {
            if (i + kAhead < end) rows[i + kAhead].prefetch();
            const std::string_view text = rows[i].columnText(column);
            std::string_view key;
            if (repeats > 0 || i - begin < kProbe) {
                const std::size_t hash = std::hash<std::string_view>{}(text);
                Recent& slot = recent[hash % kRecentSlots];
                if (slot.row != UINT32_MAX && slot.hash == hash && rows[slot.row].columnText(column) == text) {
                    ++repeats;
                    key = slot.key;
                } else {
                    key = newKey(text, collator, i == begin);
                    slot = {static_cast<std::uint32_t>(i), hash, key};
                }
            } else {
                key = newKey(text, collator, i == begin);
            }
            keys[i] = {0, 0, key.data(), static_cast<std::uint32_t>(key.size()), static_cast<std::uint32_t>(i)};
        }
    }

    static std::size_t commonLength(std::string_view a, std::string_view b) {
        return static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    }

    // The first key and how much of it every key of the part shares.
    std::string_view shared() const { return first_.substr(0, common_); }

private:
    // Collates a text, keeping how much of its key the part's keys share.
    std::string_view newKey(std::string_view text, const Collator& collator, bool first) {
        const std::string_view key = arena_.add(startOf(text, collator), text, collator);
        if (first) {
            first_ = key;
            common_ = key.size();
        }
        common_ = commonLength(first_.substr(0, common_), key);
        return key;
    }

    // The beginning that the part's texts share (their folder, say), whose
    // key work is done once; it shrinks as texts that share less come, so
    // it is worked out again at most once a byte.
    const Collator::KeyStart& startOf(std::string_view text, const Collator& collator) {
        if (!started_) {
            start_ = collator.keyStart(text);
            started_ = true;
        } else if (!text.starts_with(start_.text)) {
            start_ = collator.keyStart(text.substr(0, commonLength(start_.text, text)));
        }
        return start_;
    }

    KeyArena arena_;
    Collator::KeyStart start_;
    bool started_ = false;
    std::string_view first_;
    std::size_t common_ = 0;
};

// Every row's key. Collating is most of a sort's work, so a long list is
// cut into one part for each processor, each collated on its own thread
// with its own collator; the parts give the same keys as one would.
class RowKeys {
public:
    RowKeys(const std::vector<PlaylistEntry>& rows, int column, const Collator& collator) : keys_(rows.size()) {
        constexpr std::size_t kRowsPerPart = 16384;
        const std::size_t processors = std::max(1u, std::thread::hardware_concurrency());
        parts_.resize(std::clamp<std::size_t>(rows.size() / kRowsPerPart, 1, std::min<std::size_t>(processors, 8)));
        onEachPart(parts_.size(), [&](std::size_t part) {
            const std::size_t begin = partStart(rows.size(), part, parts_.size());
            const std::size_t end = partStart(rows.size(), part + 1, parts_.size());
            if (part == 0) return parts_[0].make(rows, column, collator, begin, end, keys_);
            const Collator own(collator.codePage(), collator.locale());  // a collator is not shared between threads
            parts_[part].make(rows, column, own, begin, end, keys_);
        });

        std::string_view shared = parts_[0].shared();
        for (const KeyPart& part : parts_) shared = shared.substr(0, KeyPart::commonLength(shared, part.shared()));
        common_ = shared.size();
        // The bytes that every key shares at its start (a common folder,
        // say) decide nothing, so the integers are taken after them.
        for (KeyedRow& key : keys_) {
            const std::string_view bytes = keyOf(key);
            key.head = bigEndian(bytes, common_);
            key.next = bigEndian(bytes, common_ + 8);
        }
    }

    std::vector<KeyedRow>& keys() { return keys_; }
    // As many as there were threads for the keys.
    std::size_t parts() const { return parts_.size(); }

    // Keys hold no zero byte, so the zeros that pad a short key sort before
    // any byte a longer key has there: equal integers mean equal keys up to
    // their end.
    bool less(const KeyedRow& a, const KeyedRow& b) const {
        if (a.head != b.head) return a.head < b.head;
        if (a.next != b.next) return a.next < b.next;
        if (a.key != b.key || a.length != b.length) {
            const std::size_t decided = common_ + 16;
            const std::string_view restA = keyOf(a).substr(std::min<std::size_t>(decided, a.length));
            const std::string_view restB = keyOf(b).substr(std::min<std::size_t>(decided, b.length));
            if (const int order = restA.compare(restB); order != 0) return order < 0;
        }
        return a.row < b.row;  // equal keys keep their order
    }

private:
    static std::string_view keyOf(const KeyedRow& row) { return {row.key, row.length}; }

    std::vector<KeyedRow> keys_;
    std::vector<KeyPart> parts_;
    std::size_t common_ = 0;
};

// Merges the sorted runs [0, middle) and [middle, end) of `keyed` into
// their rows' order, on two threads: one takes the smallest from the front
// for the first half of the order, the other the largest from the back for
// the second half. No two keys are equal, so the halves meet exactly.
template <typename Less>
void mergeFromBothEnds(const std::vector<KeyedRow>& keyed, std::ptrdiff_t middle, std::vector<std::uint32_t>& order,
                       const Less& less) {
    const KeyedRow* const first = keyed.data();
    const KeyedRow* const second = first + middle;
    const KeyedRow* const end = first + keyed.size();
    const std::size_t half = keyed.size() / 2;
    onEachPart(2, [&](std::size_t part) {
        if (part == 0) {
            const KeyedRow* a = first;
            const KeyedRow* b = second;
            for (std::size_t at = 0; at < half; ++at)
                order[at] = (b == end || (a != second && less(*a, *b)) ? a++ : b++)->row;
        } else {
            const KeyedRow* a = second;
            const KeyedRow* b = end;
            for (std::size_t at = keyed.size(); at-- > half;)
                order[at] = (a == first || (b != second && less(a[-1], b[-1])) ? --b : --a)->row;
        }
    });
}

}  // namespace

std::vector<std::uint32_t> sortedOrder(const std::vector<PlaylistEntry>& rows, int column, const Collator& collator) {
    RowKeys keys(rows, column, collator);
    std::vector<KeyedRow>& keyed = keys.keys();
    // The row number breaks ties, so no two rows are equal and the plain
    // sort is stable. That also makes the order one and the same however
    // the rows are cut: each part is sorted on its own thread, the sorted
    // parts but the last are merged, and that run and the last part are
    // merged straight into the order.
    const auto less = [&](const KeyedRow& a, const KeyedRow& b) { return keys.less(a, b); };
    const std::size_t parts = keys.parts();
    const auto start = [&](std::size_t part) {
        return keyed.begin() + static_cast<std::ptrdiff_t>(partStart(keyed.size(), part, parts));
    };
    onEachPart(parts, [&](std::size_t part) { std::sort(start(part), start(part + 1), less); });
    for (std::size_t part = 1; part + 1 < parts; ++part)
        std::inplace_merge(start(0), start(part), start(part + 1), less);
    std::vector<std::uint32_t> order(keyed.size());
    if (parts == 1) {
        for (std::size_t i = 0; i < keyed.size(); ++i) order[i] = keyed[i].row;
    } else {
        mergeFromBothEnds(keyed, start(parts - 1) - keyed.begin(), order, less);
    }
    return order;
}

}  // namespace listora

#include "core/playlist/sort/sort_order.h"

#include "core/collation/collation.h"
#include "core/playlist/sort/scratch_buffer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

namespace listora {
namespace {

// Sixteen bytes of a key as one big-endian integer.
using Bytes = unsigned __int128;

// One row's sort key: where it lies, and sixteen of its bytes as one
// integer. Rows are sorted by the integer, and a key is read again only for
// rows that tie on it, instead of on every comparison from wherever it
// lies in memory.
struct KeyedRow {
    Bytes bytes;
    const char* key;
    std::uint32_t length;
    std::uint32_t row;
};

// Entries for every row, in a buffer reused from one sort to the next,
// whose pages are then already there.
class KeyedRows {
public:
    explicit KeyedRows(std::size_t size)
        : buffer_(size * sizeof(KeyedRow)), rows_(static_cast<KeyedRow*>(buffer_.data()), size) {
        std::uninitialized_default_construct_n(rows_.data(), size);  // nothing to do, as KeyedRow is plain
    }
    std::span<KeyedRow> rows() const { return rows_; }

private:
    ScratchBuffer buffer_;
    std::span<KeyedRow> rows_;
};

// The keys' bytes, in blocks that are never moved: a key stays where it was
// written, and no block is copied as the keys grow. The blocks grow from
// 1 MiB for a short list to scratch buffers reused from one sort to the
// next for a long one.
class KeyArena {
public:
    // The key of a text that begins with `start.text`.
    std::string_view add(const Collator::KeyStart& start, std::string_view text, const Collator& collator) {
        for (;;) {
            const std::size_t free = size_ - used_;
            const std::size_t length =
                free == 0
                    ? 0
                    : collator.writeSortKey(start, text, static_cast<char*>(blocks_.back()->data()) + used_, free);
            if (free > 0 && length < free) {
                const std::string_view key(static_cast<char*>(blocks_.back()->data()) + used_, length);
                used_ += length;
                return key;
            }
            // A key longer than a block gets a block of its own size.
            size_ = std::max(blocks_.empty() ? kFirstBlock : std::min(2 * size_, kLargestBlock), length);
            used_ = 0;
            blocks_.push_back(std::make_unique<ScratchBuffer>(size_));
        }
    }

private:
    static constexpr std::size_t kFirstBlock = std::size_t{1} << 20;
    static constexpr std::size_t kLargestBlock = std::size_t{32} << 20;
    std::vector<std::unique_ptr<ScratchBuffer>> blocks_;
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

// The key's eight bytes from `from` as one big-endian integer, zeros past
// its end.
std::uint64_t bigEndian(const KeyedRow& row, std::size_t from) {
    if (from + 8 <= row.length) {
        std::uint64_t value;
        std::memcpy(&value, row.key + from, 8);
        return __builtin_bswap64(value);
    }
    std::uint64_t value = 0;
    for (std::size_t i = from; i < from + 8; ++i)
        value = value << 8 | (i < row.length ? static_cast<unsigned char>(row.key[i]) : 0u);
    return value;
}

void takeBytesFrom(KeyedRow& row, std::size_t from) {
    row.bytes = static_cast<Bytes>(bigEndian(row, from)) << 64 | bigEndian(row, from + 8);
}

// The keys of rows [begin, end), in their own arena.
class KeyPart {
public:
    void make(const SortTexts& texts, const Collator& collator, std::size_t begin, std::size_t end,
              std::span<KeyedRow> keys) {
        // After one sort the rows' texts lie scattered in memory, so those a
        // few rows on are asked for while this one is collated.
        constexpr std::size_t kAhead = 8;
        for (std::size_t i = begin; i < end; ++i) {
            if (i + kAhead < end) texts.prefetch(i + kAhead);
            const std::string_view key = newKey(texts.text(i), collator, i == begin);
            keys[i] = {0, key.data(), static_cast<std::uint32_t>(key.size()), static_cast<std::uint32_t>(i)};
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
    RowKeys(const SortTexts& texts, const Collator& collator) : keys_(texts.size()) {
        constexpr std::size_t kRowsPerPart = 16384;
        const std::size_t processors = std::max(1u, std::thread::hardware_concurrency());
        const std::size_t rows = texts.size();
        parts_.resize(std::clamp<std::size_t>(rows / kRowsPerPart, 1, std::min<std::size_t>(processors, 8)));
        onEachPart(parts_.size(), [&](std::size_t part) {
            const std::size_t begin = partStart(rows, part, parts_.size());
            const std::size_t end = partStart(rows, part + 1, parts_.size());
            if (part == 0) return parts_[0].make(texts, collator, begin, end, keys_.rows());
            // A collator is not shared between threads.
            const Collator own(collator.codePage(), collator.locale(), collator.keySource());
            parts_[part].make(texts, own, begin, end, keys_.rows());
        });

        std::string_view shared = parts_[0].shared();
        for (const KeyPart& part : parts_) shared = shared.substr(0, KeyPart::commonLength(shared, part.shared()));
        common_ = shared.size();
        // The bytes that every key shares at its start (a common folder,
        // say) decide nothing, so the integer is taken after them.
        for (KeyedRow& key : keys_.rows()) takeBytesFrom(key, common_);
    }

    std::span<KeyedRow> keys() const { return keys_.rows(); }
    // As many as there were threads for the keys.
    std::size_t parts() const { return parts_.size(); }
    // How many bytes at their start all keys share.
    std::size_t common() const { return common_; }

private:
    KeyedRows keys_;
    std::vector<KeyPart> parts_;
    std::size_t common_ = 0;
};

// Sorts rows that come in their rows' order by their integer, keeping
// that order among equal ones. A long range is dealt, in order, by the
// highest eight bits in which their integers differ into up to 256 runs,
// each sorted the same way on its own, so a row is moved a few times
// instead of being compared over and over; only short runs are compared.
void sortByBytes(KeyedRow* first, KeyedRow* last, std::vector<KeyedRow>& spare) {
    const auto size = static_cast<std::size_t>(last - first);
    constexpr std::size_t kCompared = 64;
    if (size <= kCompared) {
        std::sort(first, last, [](const KeyedRow& a, const KeyedRow& b) {
            return a.bytes != b.bytes ? a.bytes < b.bytes : a.row < b.row;
        });
        return;
    }
    Bytes low = first->bytes;
    Bytes high = low;
    for (const KeyedRow* row = first; row != last; ++row) {
        low = std::min(low, row->bytes);
        high = std::max(high, row->bytes);
    }
    if (low == high) return;
    const Bytes differ = low ^ high;
    const int top = differ >> 64 != 0 ? 127 - std::countl_zero(static_cast<std::uint64_t>(differ >> 64))
                                      : 63 - std::countl_zero(static_cast<std::uint64_t>(differ));
    const int shift = std::max(top - 7, 0);
    const auto digit = [&](const KeyedRow& row) { return static_cast<unsigned>(row.bytes >> shift) & 0xFF; };
    std::array<std::size_t, 257> start{};
    for (const KeyedRow* row = first; row != last; ++row) ++start[digit(*row) + 1];
    for (std::size_t d = 1; d < start.size(); ++d) start[d] += start[d - 1];
    if (spare.size() < size) spare.resize(size);
    std::array<std::size_t, 256> next;
    std::copy(start.begin(), start.end() - 1, next.begin());
    for (const KeyedRow* row = first; row != last; ++row) spare[next[digit(*row)]++] = *row;
    std::copy(spare.begin(), spare.begin() + static_cast<std::ptrdiff_t>(size), first);
    for (std::size_t d = 0; d < 256; ++d)
        if (start[d + 1] - start[d] > 1) sortByBytes(first + start[d], first + start[d + 1], spare);
}

// Orders rows whose keys agree before `from` and whose integer holds the
// sixteen key bytes from there. They are sorted by that integer alone,
// then each run that ties on them is sorted again by its next sixteen
// bytes, and so on: a comparison never reads a key from memory, and the
// keys of a tied run are read in one pass, many at once.
//
// Keys hold no zero byte, so the zeros that pad a short key sort before any
// byte a longer key has there, and a run of equal integers whose keys end
// among those bytes is a run of equal keys, which keep their rows' order.
void sortFrom(KeyedRow* first, KeyedRow* last, std::size_t from, std::vector<KeyedRow>& spare) {
    sortByBytes(first, last, spare);
    for (KeyedRow* run = first; run != last;) {
        KeyedRow* end = run + 1;
        while (end != last && end->bytes == run->bytes) ++end;
        for (std::size_t at = from + 16; end - run > 1 && run->length > at; at += 16) {
            bool same = true;
            constexpr std::ptrdiff_t kAhead = 8;
            for (KeyedRow* row = run; row != end; ++row) {
                if (end - row > kAhead) __builtin_prefetch(row[kAhead].key + at);
                takeBytesFrom(*row, at);
                same = same && row->bytes == run->bytes;
            }
            // Rows that tie on these bytes too are already in their rows'
            // order; otherwise the run is sorted from here on its own.
            if (!same) {
                sortFrom(run, end, at, spare);
                break;
            }
        }
        run = end;
    }
}

// The order of the rows, sorted as sortFrom does, on `threads` threads.
//
// The list is first dealt into buckets by splitters sampled from its
// own keys, so that every row of a bucket sorts before every row of the
// next, and then each bucket is sorted on its own. Buckets are kept small
// enough to stay in the processor's cache, so the sort's many passes run
// there instead of in main memory, and the work grows with the rows as a
// sort's should. Rows with the same sixteen bytes land in one bucket.
std::vector<std::uint32_t> sortedRows(std::span<const KeyedRow> keyed, std::size_t threads, std::size_t from) {
    const std::size_t size = keyed.size();
    std::vector<std::uint32_t> order(size);
    // A list shorter than two buckets is one.
    constexpr std::size_t kRowsPerBucket = 16384;
    const std::size_t buckets = std::clamp<std::size_t>(std::bit_ceil(size / kRowsPerBucket), 1, 4096);

    // Eight samples a bucket, spread evenly over the list, give splitters
    // that cut it into nearly equal buckets unless many rows share their
    // bytes; one bucket needs none.
    constexpr std::size_t kSamplesPerBucket = 8;
    const std::size_t sampled = buckets > 1 ? buckets * kSamplesPerBucket : 0;
    std::vector<KeyedRow> samples;
    for (std::size_t i = 0; i < sampled; ++i) samples.push_back(keyed[size * i / sampled]);
    std::sort(samples.begin(), samples.end(), [](const KeyedRow& a, const KeyedRow& b) { return a.bytes < b.bytes; });
    std::vector<Bytes> splitters;
    for (std::size_t i = 1; i < buckets; ++i) splitters.push_back(samples[i * kSamplesPerBucket].bytes);
    // A row's bucket: how many splitters come before its bytes, found
    // without branches, as `buckets` is a power of two.
    const auto bucketOf = [&](const KeyedRow& row) {
        std::size_t bucket = 0;
        for (std::size_t step = buckets / 2; step > 0; step /= 2)
            bucket += static_cast<std::size_t>(splitters[bucket + step - 1] < row.bytes) * step;
        return bucket;
    };

    // Each thread deals its share of the rows, in their order, into every
    // bucket's share for that thread's rows.
    std::vector<std::uint16_t> bucketOfRow(size);
    std::vector<std::vector<std::size_t>> counts(threads, std::vector<std::size_t>(buckets));
    onEachPart(threads, [&](std::size_t part) {
        for (std::size_t i = partStart(size, part, threads); i < partStart(size, part + 1, threads); ++i) {
            bucketOfRow[i] = static_cast<std::uint16_t>(bucketOf(keyed[i]));
            ++counts[part][bucketOfRow[i]];
        }
    });
    std::vector<std::size_t> bucketStart(buckets + 1);
    std::size_t at = 0;
    for (std::size_t bucket = 0; bucket < buckets; ++bucket) {
        bucketStart[bucket] = at;
        for (std::vector<std::size_t>& count : counts) at += std::exchange(count[bucket], at);
    }
    bucketStart[buckets] = size;
    const KeyedRows dealtRows(size);
    const std::span<KeyedRow> dealt = dealtRows.rows();
    onEachPart(threads, [&](std::size_t part) {
        std::vector<std::size_t>& next = counts[part];
        for (std::size_t i = partStart(size, part, threads); i < partStart(size, part + 1, threads); ++i)
            dealt[next[bucketOfRow[i]]++] = keyed[i];
    });

    // Each thread sorts a run of whole buckets holding about its share of
    // the rows.
    std::vector<std::size_t> firstBucket(threads + 1, buckets);
    for (std::size_t part = 0, bucket = 0; part < threads; ++part) {
        firstBucket[part] = bucket;
        while (bucket < buckets && bucketStart[bucket] < partStart(size, part + 1, threads)) ++bucket;
    }
    onEachPart(threads, [&](std::size_t part) {
        std::vector<KeyedRow> spare;
        for (std::size_t bucket = firstBucket[part]; bucket < firstBucket[part + 1]; ++bucket) {
            KeyedRow* const first = dealt.data() + bucketStart[bucket];
            KeyedRow* const last = dealt.data() + bucketStart[bucket + 1];
            sortFrom(first, last, from, spare);
            for (const KeyedRow* row = first; row != last; ++row) order[row - dealt.data()] = row->row;
        }
    });
    return order;
}

}  // namespace

std::vector<std::uint32_t> sortedOrder(const SortTexts& texts, const Collator& collator) {
    RowKeys keys(texts, collator);
    const std::span<const KeyedRow> keyed = keys.keys();
    // The row number breaks ties, so equal keys keep their order and the
    // order is one and the same however the rows are split.
    return sortedRows(keyed, keys.parts(), keys.common());
}

}  // namespace listora

#pragma once
// Locale-aware, case-insensitive ordering of texts in the system code page
// ("abc" and "ABC" are equal keys), backed by ICU's collator for the user's
// locale.

#include "core/collation/key_table/collation_table.h"
#include "core/text/codepage.h"

#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace listora {

// Where sort keys come from: the exact key table where it answers, else
// ICU; or ICU alone. LISTORA_PLAIN_COLLATION_KEYS=1 in the environment makes
// every collator take ICU's keys alone.
enum class KeySource { Table, Icu };

class Collator {
public:
    // The user's locale's order; not for use from two threads at once.
    explicit Collator(CodePage cp);
    // The order of `locale` ("" is the root order).
    Collator(CodePage cp, std::string locale, KeySource keys = KeySource::Table);
    ~Collator();
    Collator(const Collator&) = delete;
    Collator& operator=(const Collator&) = delete;

    // Byte strings whose plain comparison gives the collation order, so a
    // sort computes each key once instead of collating on every comparison.
    std::string sortKey(std::string_view text) const;
    // Writes the key, which holds no zero byte, into the `capacity` bytes at
    // `out` and gives its length; when the key and a closing zero need more
    // than `capacity`, gives the room they need, and `out` holds nothing
    // usable.
    std::size_t writeSortKey(std::string_view text, char* out, std::size_t capacity) const;

    // The work on a beginning that many texts share, done once (see
    // CollationTable::Start); it stands for none of a text when the table
    // cannot carry on from it. Any collator of the same order takes it.
    using KeyStart = CollationTable::Start;
    KeyStart keyStart(std::string_view text) const;
    // writeSortKey of a text that begins with `start.text`.
    std::size_t writeSortKey(const KeyStart& start, std::string_view text, char* out, std::size_t capacity) const;
    int compare(std::string_view a, std::string_view b) const;
    // For a second collator of the same order, one for each thread.
    CodePage codePage() const { return cp_; }
    const std::string& locale() const { return locale_; }
    KeySource keySource() const { return table_ ? KeySource::Table : KeySource::Icu; }
    // Whether keys are written from the table at all (see
    // CollationTable::answers).
    bool keysFromTable() const { return table_ && table_->answers(); }

private:
    std::size_t writeIcuSortKey(std::u16string_view text, char* out, std::size_t capacity) const;

    CodePage cp_;
    std::string locale_;
    UCollator* collator_;
    std::shared_ptr<const CollationTable> table_;
    mutable Utf16Converter converter_;
};

}  // namespace listora

#pragma once
// ICU's sort keys for most texts without running the collator: the
// collation elements of each UTF-16 unit are looked up once, and a text
// made only of units whose elements never depend on their neighbours gets
// its key by ICU's own rules for writing keys. The key is byte for byte the
// one ICU writes, so keys from the table and from ICU mix in one sort.
//
// It follows the collator's settings only where they leave each unit's
// elements and the key's levels alone (secondary strength, no shifted
// punctuation, no numeric or French ordering, no case level); for other
// settings every text goes to ICU.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct UCollator;

namespace listora {

class CollationTable {
public:
    // The table of the collator opened for `locale` ("" is the root
    // order), made once in a process and shared by every collator of that
    // locale, on any thread. `collator` must be one with that locale and
    // the program's settings.
    static std::shared_ptr<const CollationTable> of(const std::string& locale, const UCollator* collator);

    explicit CollationTable(const UCollator* collator);
    ~CollationTable();
    CollationTable(const CollationTable&) = delete;
    CollationTable& operator=(const CollationTable&) = delete;

    // Whether the table writes any keys: the collator's settings allow it,
    // and the built table agreed with ICU on the check texts. Builds the
    // table on first use (some 50 ms).
    bool answers() const;

    static constexpr std::size_t kNotHere = static_cast<std::size_t>(-1);
    // As Collator::writeSortKey; kNotHere when the text holds a unit the
    // table does not answer for, and then ICU must write the key.
    std::size_t writeSortKey(std::u16string_view text, char* out, std::size_t capacity) const;
    // The same for a text in UTF-8, without converting it first.
    std::size_t writeUtf8SortKey(std::string_view text, char* out, std::size_t capacity) const;

    // The key's work for the first bytes of many texts (the folder that a
    // list's paths share), done once: keys of texts that begin with them
    // carry on from there, and come out byte for byte as from the start.
    struct Start {
        std::string text;  // the UTF-8 bytes it stands for
        std::string primaries;
        std::string secondaries;
        std::uint32_t previous = 0;
        unsigned commons = 0;
    };
    // The start of the longest beginning of `text` the table answers for
    // that ends with a whole character; "" when it answers for none.
    Start startOf(std::string_view text) const;
    // writeUtf8SortKey of `start.text` followed by `rest`.
    std::size_t writeUtf8SortKey(const Start& start, std::string_view rest, char* out, std::size_t capacity) const;

private:
    struct Weight {
        std::uint32_t primary;  // as the key writes it, after any reordering
        std::uint16_t secondary;
        bool compressible;  // of the primary's lead byte
    };
    // One unit's elements: none, one held here, or several in weights_.
    struct Unit {
        Weight weight;
        std::uint8_t count = 0;
        bool inTable = false;
        std::uint32_t first = 0;  // of several, the index of the first in weights_
    };
    struct Raw {
        std::uint32_t primary;
        std::uint16_t secondary;
    };
    class KeyWriter;

    std::size_t keyOf(std::u16string_view text, char* out, std::size_t capacity) const;
    std::size_t utf8KeyOf(std::string_view text, char* out, std::size_t capacity) const;
    bool agreesWithIcu() const;
    bool add(char16_t code, KeyWriter& writer) const;
    std::size_t addUtf8(std::string_view text, KeyWriter& writer) const;
    void addUnit(const Unit& unit, KeyWriter& writer) const;
    void build() const;
    std::vector<bool> excludedUnits() const;
    std::vector<std::vector<Raw>> rawElements(const std::vector<bool>& excluded) const;
    void learnLeads(const std::vector<std::vector<Raw>>& raws) const;
    std::string icuKey(std::u16string_view text) const;
    std::string tableKey(const Unit& unit, std::size_t repeats) const;

    mutable UCollator* collator_ = nullptr;  // the table's own, used only while it is built
    bool usable_ = false;
    bool reordered_ = false;
    // Built whole on first use, then only read, from any thread.
    mutable std::once_flag built_;
    mutable bool agrees_ = false;
    mutable std::vector<Unit> units_;
    mutable std::vector<Weight> weights_;
    // What units of one element teach: the lead byte a reordering gives
    // primaries with the same top 16 bits (0 unknown, 0x100 not one), and
    // whether ICU writes a run of primaries with one raw lead byte once
    // (0 unknown, 1 yes, 2 no).
    mutable std::vector<std::uint16_t> reorderedLead_;
    mutable std::array<std::uint8_t, 256> compressible_{};
    // The one primary byte of each ASCII character the key writer can
    // write straight (see KeyWriter::addPlain); 0 for the others.
    mutable std::array<std::uint8_t, 128> plainAscii_{};
};

}  // namespace listora

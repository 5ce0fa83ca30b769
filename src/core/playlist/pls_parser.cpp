// PLS: an INI file with one section, "[playlist]", whose keys FileN, TitleN
// and LengthN describe entry N. Players write each entry's keys together in
// rising N, and a row is made once its keys are all read; keys that come
// later for an entry already made still change it, and entries are given in
// the order of N. NumberOfEntries is not trusted: writers get it wrong.

#include "core/errors/errors.h"
#include "core/paths/path_rules.h"
#include "core/playlist/length_text.h"
#include "core/playlist/playlist_parser.h"
#include "core/playlist/row_maker.h"
#include "core/text/ascii_text.h"
#include "core/text/codepage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <numeric>
#include <optional>
#include <unordered_map>

namespace listora {
namespace {

enum class Field { File, Title, Length };

// "File12" as its field and 12; nothing for any other key.
std::optional<std::pair<Field, std::uint64_t>> entryKey(std::string_view key) {
    static constexpr std::pair<std::string_view, Field> kFields[] = {
        {"file", Field::File}, {"title", Field::Title}, {"length", Field::Length}};
    for (const auto& [name, field] : kFields) {
        if (key.size() <= name.size() || !equalsIgnoringAsciiCase(key.substr(0, name.size()), name)) continue;
        const std::string_view digits = key.substr(name.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
        std::uint64_t number = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
        return std::pair{field, number};
    }
    return std::nullopt;
}

// The keys of an entry read so far, its row not yet made; its texts keep
// their memory from entry to entry.
struct Waiting {
    bool open = false;
    std::uint64_t number = 0;
    std::array<std::string, 3> texts;  // by Field
    std::array<bool, 3> given{};

    const std::string* text(Field field) const {
        return given[static_cast<std::size_t>(field)] ? &texts[static_cast<std::size_t>(field)] : nullptr;
    }
};

class PlsParser final : public PlaylistParser {
public:
    explicit PlsParser(const ParsedPlaylist& playlist)
        : path_(playlist.path), rules_(playlist.rules), rows_(playlist.rules, playlist.base) {}

    void feed(std::string_view bytes) override {
        if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos)
            fail(line_ + 1 + std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(nul), '\n'),
                 "文字でないバイトがあります");
        while (!bytes.empty()) {
            const std::size_t end = bytes.find('\n');
            if (end == std::string_view::npos) {
                partial_ += bytes;
                return;
            }
            if (partial_.empty()) {
                takeLine(bytes.substr(0, end));
            } else {
                partial_ += bytes.substr(0, end);
                takeLine(partial_);
                partial_.clear();
            }
            bytes.remove_prefix(end + 1);
        }
    }

    std::vector<PlaylistEntry> finish() override {
        if (!partial_.empty()) takeLine(std::exchange(partial_, {}));
        if (!seenSection_) fail(std::max<std::size_t>(line_, 1), "[playlist] がありません");
        makeWaitingRow();
        if (!ordered_) {
            std::vector<std::size_t> order(made_.size());
            std::iota(order.begin(), order.end(), 0);
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return numbers_[a] < numbers_[b]; });
            std::vector<PlaylistEntry> sorted;
            sorted.reserve(made_.size());
            for (const std::size_t i : order) sorted.push_back(std::move(made_[i]));
            made_ = std::move(sorted);
        }
        // An entry with a title or a length but no file names nothing.
        std::erase_if(made_, [](const PlaylistEntry& row) { return row.fullPath().empty(); });
        nameless_ = static_cast<std::size_t>(
            std::count_if(made_.begin(), made_.end(), [](const PlaylistEntry& row) { return row.fileName().empty(); }));
        return std::move(made_);
    }

    std::size_t nameless() const override { return nameless_; }
    std::size_t unconvertible() const override { return rows_.unconvertible(); }

private:
    [[noreturn]] void fail(std::size_t line, std::string_view why) const {
        throw malformedPlaylistError(path_, std::to_string(line) + systemText(" 行目"), systemText(why));
    }

    void takeLine(std::string_view line) {
        ++line_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view text = withoutAsciiSpace(line);
        if (text.empty() || text[0] == ';' || text[0] == '#') return;
        if (text.front() == '[' && text.back() == ']') {
            inPlaylist_ = equalsIgnoringAsciiCase(text, "[playlist]");
            seenSection_ = true;
            return;
        }
        if (!seenSection_) fail(line_, "[playlist] で始まっていません");
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) fail(line_, "「キー=値」の形ではありません");
        if (!inPlaylist_) return;
        const std::optional<std::pair<Field, std::uint64_t>> key = entryKey(withoutAsciiSpace(line.substr(0, equals)));
        if (!key) return;  // NumberOfEntries, Version and keys of other writers
        const std::string_view value = line.substr(equals + 1);
        if (key->first == Field::Length && !parseInteger(withoutAsciiSpace(value)))
            fail(line_, "長さが整数ではありません");
        set(key->second, key->first, value);
    }

    void set(std::uint64_t number, Field field, std::string_view value) {
        if (!waiting_.open || waiting_.number != number) {
            makeWaitingRow();
            if (const std::optional<std::size_t> row = madeRow(number)) {
                change(made_[*row], field, value);
                return;
            }
            waiting_.open = true;
            waiting_.number = number;
            waiting_.given = {};
        }
        waiting_.texts[static_cast<std::size_t>(field)].assign(value);
        waiting_.given[static_cast<std::size_t>(field)] = true;
    }

    void makeWaitingRow() {
        if (!waiting_.open) return;
        const std::string* file = waiting_.text(Field::File);
        const std::string* title = waiting_.text(Field::Title);
        const std::string* length = waiting_.text(Field::Length);
        const std::string lengthText =
            length ? FormatLengthText(*parseInteger(withoutAsciiSpace(*length))) : kUnknownText;
        const std::string_view titleText = title ? std::string_view(*title) : std::string_view(kUnknownText);
        made_.push_back(file ? rows_.make(titleText, lengthText, *file, rules_.nameAsWritten(*file))
                             : PlaylistEntry(titleText, lengthText, {}, {}));
        ordered_ = ordered_ && (numbers_.empty() || waiting_.number > numbers_.back());
        numbers_.push_back(waiting_.number);
        if (!ordered_) rowOfNumber_[waiting_.number] = made_.size() - 1;
        waiting_.open = false;
    }

    // The row already made for entry `number`, if any.
    std::optional<std::size_t> madeRow(std::uint64_t number) {
        if (ordered_) {
            const auto at = std::lower_bound(numbers_.begin(), numbers_.end(), number);
            if (at == numbers_.end() || *at != number) return std::nullopt;
            return static_cast<std::size_t>(at - numbers_.begin());
        }
        if (rowOfNumber_.empty())
            for (std::size_t i = 0; i < numbers_.size(); ++i) rowOfNumber_[numbers_[i]] = i;
        const auto found = rowOfNumber_.find(number);
        if (found == rowOfNumber_.end()) return std::nullopt;
        return found->second;
    }

    // A key that comes after its entry's row was made.
    void change(PlaylistEntry& row, Field field, std::string_view value) {
        if (field == Field::Title) {
            row.setTitle(value);
        } else if (field == Field::Length) {
            row.setLengthText(FormatLengthText(*parseInteger(withoutAsciiSpace(value))));
        } else {
            rows_.takePath(value);
            row.setPath(rows_.fileName(), rows_.fullPath());
        }
    }

    std::string path_;
    const PathRules& rules_;
    RowMaker rows_;
    std::size_t line_ = 0;
    std::size_t nameless_ = 0;
    std::string partial_;  // a line not yet ended in the bytes fed so far
    bool seenSection_ = false;
    bool inPlaylist_ = false;
    Waiting waiting_;
    std::vector<PlaylistEntry> made_;
    std::vector<std::uint64_t> numbers_;                          // each made row's N
    bool ordered_ = true;                                         // N has risen from row to row
    std::unordered_map<std::uint64_t, std::size_t> rowOfNumber_;  // once not ordered
};

}  // namespace

std::unique_ptr<PlaylistParser> makePlsParser(const ParsedPlaylist& playlist) {
    return std::make_unique<PlsParser>(playlist);
}

}  // namespace listora

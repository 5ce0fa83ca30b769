// XSPF: an XML playlist whose <trackList> holds a <track> per entry with a
// <location> URI, a <title> and a <duration> in milliseconds. Read with
// expat as the bytes come; elements of other names and namespaces
// (<extension>, <meta>, <image>) are passed over with all they hold.

#include "core/errors/errors.h"
#include "core/paths/path_rules.h"
#include "core/playlist/address.h"
#include "core/playlist/length_text.h"
#include "core/playlist/playlist_parser.h"
#include "core/playlist/row_maker.h"
#include "core/text/ascii_text.h"
#include "core/text/codepage.h"

#include <charconv>
#include <climits>
#include <expat.h>
#include <optional>

namespace listora {
namespace {

// The element's name without a namespace prefix ("xspf:track" → "track").
std::string_view localName(const XML_Char* name) {
    const std::string_view text(name);
    const std::size_t colon = text.rfind(':');
    return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

// Where the parser stands in the document, by the elements that matter.
enum class Place { Outside, Playlist, TrackList, Track, Field, Elsewhere };

class XspfParser final : public PlaylistParser {
public:
    explicit XspfParser(const ParsedPlaylist& playlist)
        : path_(playlist.path),
          rules_(playlist.rules),
          rows_(playlist.rules, playlist.base),
          parser_(XML_ParserCreate(nullptr)) {
        if (!parser_) throw std::bad_alloc();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &XspfParser::onStart, &XspfParser::onEnd);
        XML_SetCharacterDataHandler(parser_, &XspfParser::onText);
    }
    ~XspfParser() override { XML_ParserFree(parser_); }
    XspfParser(const XspfParser&) = delete;
    XspfParser& operator=(const XspfParser&) = delete;

    void feed(std::string_view bytes) override { parse(bytes, false); }

    std::vector<PlaylistEntry> finish() override {
        parse({}, true);
        if (!sawPlaylist_) fail(1, 1, "<playlist> がありません");
        return std::move(made_);
    }

    std::size_t nameless() const override { return rows_.nameless(); }
    std::size_t unconvertible() const override { return rows_.unconvertible(); }

private:
    enum class Text { Location, Title, Duration };

    [[noreturn]] void fail(unsigned long line, unsigned long column, std::string_view why) const {
        throw malformedPlaylistError(
            path_, std::to_string(line) + systemText(" 行 ") + std::to_string(column) + systemText(" 桁目"), why);
    }

    void parse(std::string_view bytes, bool last) {
        while (!bytes.empty() || last) {
            // expat takes an int's worth at a time.
            const std::size_t size = std::min<std::size_t>(bytes.size(), INT_MAX);
            const XML_Status status =
                XML_Parse(parser_, bytes.data(), static_cast<int>(size), last && size == bytes.size());
            if (failure_) fail(failure_->line, failure_->column, failure_->why);
            if (status != XML_STATUS_OK)
                fail(XML_GetCurrentLineNumber(parser_), XML_GetCurrentColumnNumber(parser_) + 1,
                     XML_ErrorString(XML_GetErrorCode(parser_)));
            bytes.remove_prefix(size);
            if (bytes.empty()) return;
        }
    }

    // expat is C: a failure found in a handler stops the parse and is
    // thrown once XML_Parse has returned.
    void stop(std::string_view why) {
        failure_ = Failure{XML_GetCurrentLineNumber(parser_), XML_GetCurrentColumnNumber(parser_) + 1, systemText(why)};
        XML_StopParser(parser_, XML_FALSE);
    }

    static void onStart(void* self, const XML_Char* name, const XML_Char**) {
        static_cast<XspfParser*>(self)->start(localName(name));
    }
    static void onEnd(void* self, const XML_Char*) { static_cast<XspfParser*>(self)->end(); }
    static void onText(void* self, const XML_Char* text, int size) {
        XspfParser& parser = *static_cast<XspfParser*>(self);
        if (parser.places_.back() == Place::Field) parser.text_.append(text, static_cast<std::size_t>(size));
    }

    void start(std::string_view name) {
        const Place parent = places_.back();
        Place place = Place::Elsewhere;
        if (parent == Place::Outside) {
            if (name != "playlist") return stop("<playlist> がありません");
            sawPlaylist_ = true;
            place = Place::Playlist;
        } else if (parent == Place::Playlist && name == "trackList") {
            place = Place::TrackList;
        } else if (parent == Place::TrackList && name == "track") {
            place = Place::Track;
            location_.reset();
            title_.reset();
            duration_.reset();
        } else if (parent == Place::Track && (name == "location" || name == "title" || name == "duration")) {
            place = Place::Field;
            field_ = name == "location" ? Text::Location : name == "title" ? Text::Title : Text::Duration;
            text_.clear();
        }
        places_.push_back(place);
    }

    void end() {
        const Place place = places_.back();
        places_.pop_back();
        if (place == Place::Field)
            endField();
        else if (place == Place::Track)
            endTrack();
    }

    void endField() {
        if (field_ == Text::Title) {
            if (!title_) title_ = text_;
        } else if (field_ == Text::Location) {
            // A track may name several places for its file; the first is
            // the one it is.
            if (!location_) location_ = withoutAsciiSpace(text_);
        } else {
            const std::string_view digits = withoutAsciiSpace(text_);
            long long milliseconds = 0;
            const auto [at, error] = std::from_chars(digits.data(), digits.data() + digits.size(), milliseconds);
            if (error != std::errc() || at != digits.data() + digits.size()) return stop("長さが整数ではありません");
            duration_ = milliseconds;
        }
    }

    // A row for a track with a location; one without names no file.
    void endTrack() {
        if (!location_) return;
        bool unconvertible = false;
        const auto inCodePage = [&](std::string_view utf8) {
            if (rules_.codePage() == CodePage::Utf8) return std::string(utf8);
            std::optional<std::string> text = convertCodePageExactly(utf8, CodePage::Utf8, rules_.codePage());
            unconvertible = unconvertible || !text;
            return text ? std::move(*text) : std::string();
        };
        // A location that is no address is a "file://" URI or a URI
        // reference, relative ones against the playlist's folder; both are
        // percent-decoded.
        std::string path;
        if (isAddress(*location_)) {
            path = inCodePage(*location_);
        } else if (std::optional<std::string> local = localPathOfFileAddress(*location_, rules_)) {
            // Empty when the code page cannot name it: the row is then left
            // without a name, as an M3U "file://" line's is.
            path = local->empty() ? *location_ : std::move(*local);
        } else {
            path = inCodePage(percentDecoded(*location_));
        }
        const std::string title = title_ ? inCodePage(*title_) : kUnknownText;
        made_.push_back(rows_.make(title, duration_ ? FormatLengthText(seconds(*duration_)) : kUnknownText, path,
                                   rules_.nameAsWritten(path), unconvertible));
    }

    // Milliseconds as whole seconds, rounded; any negative duration (which
    // some writers give for "unknown") is M3U's -1, and -N000 is -N, so
    // that an #EXTINF length of -N written as XSPF reads back the same.
    static long long seconds(long long milliseconds) {
        if (milliseconds < 0) return milliseconds <= -1000 ? milliseconds / 1000 : -1;
        return (milliseconds + 500) / 1000;
    }

    struct Failure {
        unsigned long line;
        unsigned long column;
        std::string why;
    };

    std::string path_;
    const PathRules& rules_;
    RowMaker rows_;
    XML_Parser parser_;
    std::vector<Place> places_{Place::Outside};
    bool sawPlaylist_ = false;
    Text field_ = Text::Title;
    std::string text_;
    std::optional<std::string> location_, title_;
    std::optional<long long> duration_;
    std::optional<Failure> failure_;
    std::vector<PlaylistEntry> made_;
};

}  // namespace

std::unique_ptr<PlaylistParser> makeXspfParser(const ParsedPlaylist& playlist) {
    return std::make_unique<XspfParser>(playlist);
}

}  // namespace listora

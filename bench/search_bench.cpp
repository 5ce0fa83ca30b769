#include "search_bench.h"

#include "core/playlist/length_text.h"
#include "core/playlist/main_list.h"
#include "core/search/search_rule.h"
#include "core/text/codepage.h"
#include "measure.h"
#include "ui/main/main_window.h"
#include "ui/search/search_window.h"
#include "window_bench.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace bench {
namespace {

constexpr double kTextTarget = 0.1;
constexpr double kLengthTarget = 0.05;
constexpr double kWindowTarget = 0.5;

std::string numbered(const char* format, std::size_t value) {
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

struct Search {
    const char* name;
    const char* titleFormat;  // one artist a hundred rows
    listora::SearchSettings settings;
    std::size_t expectedHits;  // on 1,000,000 rows
};

listora::SearchSettings textSearch(const char* text) {
    listora::SearchSettings settings;
    settings.text = text;
    return settings;
}

listora::SearchSettings lengthSearch() {
    listora::SearchSettings settings;
    settings.position = listora::SearchPosition::Length;
    settings.minutes = 59;  // 59:00 and longer: 60 of every 3,600 lengths
    return settings;
}

const Search kSearches[] = {
    {"title, ASCII", "Artist %04zu - Paper Moon", textSearch("artist 0042 - paper"), 100},
    {"title, Japanese",
     "\xE3\x82\xA2\xE3\x83\xBC\xE3\x83\x86\xE3\x82\xA3\xE3\x82\xB9\xE3\x83\x88 %04zu - "
     "\xE7\xB4\x99\xE3\x81\xAE\xE6\x9C\x88 \xEF\xBC\xB0\xEF\xBD\x81\xEF\xBD\x90\xEF\xBD\x85\xEF\xBD\x92",
     textSearch("\xE3\x82\xA2\xE3\x83\xBC\xE3\x83\x86\xE3\x82\xA3\xE3\x82\xB9\xE3\x83\x88 0042 - "
                "\xE7\xB4\x99\xE3\x81\xAE\xE6\x9C\x88 \xEF\xBD\x90"),
     100},
    {"length, 59:00 or more", "Artist %04zu - Paper Moon", lengthSearch(), 16'620},
};

std::vector<listora::PlaylistEntry> entriesFor(const Search& search, std::size_t rows) {
    std::vector<listora::PlaylistEntry> entries;
    entries.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        std::string fileName = numbered("%07zu Paper Moon.mp3", i);
        entries.push_back({numbered(search.titleFormat, i / 100 % 10000), listora::FormatLengthText(i % 3600), fileName,
                           "/home/user/Music/" + fileName});
    }
    return entries;
}

std::string writeTitles(const std::vector<listora::PlaylistEntry>& entries, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    for (const listora::PlaylistEntry& row : entries) out << row.title() << '\n';
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
}

void checkHits(const Search& search, std::size_t hits, std::size_t rows) {
    const std::size_t expected = search.expectedHits * rows / 1'000'000;
    if (hits != expected)
        throw std::runtime_error(std::string(search.name) + " found " + std::to_string(hits) + " rows, not " +
                                 std::to_string(expected));
}

// The search window's controls set as the user sets them.
void setUp(listora::TForm3& window, const listora::SearchSettings& settings) {
    window.positionButton(settings.position)->click();
    window.textBox()->setText(QString::fromStdString(settings.text));
    window.minutesBox()->setValue(settings.minutes);
    window.secondsBox()->setValue(settings.seconds);
    window.comparisonBox()->setCurrentIndex(static_cast<int>(settings.comparison));
    window.caseSensitiveBox()->setChecked(settings.caseSensitive);
    window.refineBox()->setChecked(settings.refine);
    if (window.settings().text != settings.text || window.settings().position != settings.position)
        throw std::runtime_error("the search window did not take the settings");
}

}  // namespace

std::vector<SearchTiming> timeCoreSearches(std::size_t rows, int runs, const std::string& folder) {
    std::vector<SearchTiming> timings;
    for (const Search& search : kSearches) {
        listora::MainList list;
        list.appendAll(entriesFor(search, rows));
        const bool byText = search.settings.position != listora::SearchPosition::Length;
        SearchTiming timing{search.name, {}, byText ? kTextTarget : kLengthTarget, {}, {}, {}};
        std::size_t hits = 0;
        for (int run = 0; run < runs; ++run) {
            list.updateSelection([](const listora::PlaylistEntry&) { return false; });
            timing.seconds.push_back(
                secondsOf([&] { hits = listora::searchRows(list, search.settings, listora::CodePage::Utf8); }));
            checkHits(search, hits, rows);
        }
        timing.result = std::to_string(hits) + " hits";
        if (byText) {
            const std::string titles = writeTitles(list.rows(), folder + "/search-titles.txt");
            timing.reference = "grep -c -i -F TEXT TITLES";
            for (int run = 0; run < runs; ++run)
                timing.referenceSeconds.push_back(runCommand({"grep", "-c", "-i", "-F", search.settings.text, titles}));
        }
        timings.push_back(std::move(timing));
    }
    return timings;
}

std::vector<SearchTiming> timeWindowSearches(std::size_t rows, int runs, const std::string& folder) {
    BenchWindow bench(folder);
    listora::TForm1& form = bench.form;
    std::vector<SearchTiming> timings;
    for (const Search& search : kSearches) {
        listora::MainList& list = form.state().list;
        list.clear();
        list.appendAll(entriesFor(search, rows));
        form.findChild<QAction*>("menuSearchWindow")->trigger();
        auto* window = qobject_cast<listora::TForm3*>(form.searchWindow());
        if (!window) throw std::runtime_error("the search window did not open");
        setUp(*window, search.settings);
        QApplication::processEvents();
        SearchTiming timing{search.name, {}, kWindowTarget, {}, {}, {}};
        for (int run = 0; run < runs; ++run) {
            list.updateSelection([](const listora::PlaylistEntry&) { return false; });
            QApplication::processEvents();
            timing.seconds.push_back(bench.secondsUntilPainted(search.name, [&] { window->searchButton()->click(); }));
            const std::size_t selected = bench.checkViewSelection(search.name);
            checkHits(search, selected, rows);
            timing.result = std::to_string(selected) + " selected";
        }
        window->close();
        QApplication::processEvents();
        timings.push_back(std::move(timing));
    }
    return timings;
}

}  // namespace bench

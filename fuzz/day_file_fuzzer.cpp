// Any bytes as today's day file, in either code page: a record added and
// written is read back as the last one after the records the file held, and
// reading the file in pieces gives what reading it whole gives.

#include "core/errors/errors.h"
#include "core/fileops/log_reader.h"
#include "core/fileops/operation_log.h"
#include "core/text/codepage.h"
#include "core/text/text_lines.h"
#include "memory_file_system.h"
#include "piece_input.h"
#include "require.h"
#include "support/fixed_ports.h"

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>

namespace listora::fuzz {
namespace {

const std::string kLogFolder = "/home/Log/";

// One line of a record: the text without the bytes that end a line or the
// text, and never empty, as the program's records hold a name, a path or
// "---" on every line.
std::string fieldOf(FuzzedDataProvider& input) {
    std::string field = input.ConsumeRandomLengthString(64);
    std::erase_if(field, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
    return field.empty() ? "-" : field;
}

bool sameRecord(const LogRecord& a, const LogRecord& b) {
    return a.fileName == b.fileName && a.kind == b.kind && a.before == b.before && a.after == b.after;
}

bool sameRecords(const std::vector<LogRecord>& a, const std::vector<LogRecord>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameRecord);
}

// Whether the text's last record has all its lines: four when its second
// line is a kind word, three for an older move record. A file cut in the
// middle of a record lends its missing lines to the next one.
bool endsWithWholeRecord(std::string_view text, const std::vector<std::string>& kinds) {
    std::vector<std::string_view> lines;
    LineReader reader(text, NulByte::InLine);  // as day files are read
    for (std::string_view line; reader.next(line);) lines.push_back(line);
    std::size_t at = 0;
    while (at < lines.size())
        at += at + 1 < lines.size() && std::count(kinds.begin(), kinds.end(), lines[at + 1]) ? 4 : 3;
    return at == lines.size();
}

}  // namespace
}  // namespace listora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace listora;
    using namespace listora::fuzz;
    FuzzedDataProvider input(data, size);
    setSystemCodePage(input.ConsumeBool() ? CodePage::Cp932 : CodePage::Utf8);
    const std::vector<std::string> kinds = {systemText("移動"), systemText("コピー"), systemText("削除")};
    const LogRecord added{fieldOf(input), kinds[input.ConsumeIntegralInRange<std::size_t>(0, 2)], fieldOf(input),
                          fieldOf(input)};
    MemoryFileSystem fs;
    choosePieces(input, fs);
    const bool hadFile = input.ConsumeBool();
    const test::FixedClock clock;
    const std::string dayName = dayFileName(clock.day.year, clock.day.month, clock.day.day);
    const std::string old = input.ConsumeRemainingBytesAsString();
    if (hadFile) {
        fs.folders.insert("/home/Log");
        fs.files[kLogFolder + dayName] = old;
    }

    OperationLog log = OperationLog::open(fs, clock, kLogFolder);
    log.add(added);
    log.write();
    const std::string& written = fs.files.at(kLogFolder + dayName);
    const std::vector<LogRecord> whole = readLogRecords(written);
    try {
        require(sameRecords(readDayRecords(fs, kLogFolder, dayName), whole), "in pieces as whole");
    } catch (const ListoraError&) {
        require(fs.breakAfter.has_value(), "only a broken read fails");
    }
    if (!hadFile || endsWithWholeRecord(old, kinds)) {
        std::vector<LogRecord> expected = readLogRecords(hadFile ? old : "");
        expected.push_back(added);
        require(sameRecords(whole, expected), "the record added is read back last");
    }
    return 0;
}

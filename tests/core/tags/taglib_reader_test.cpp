#include "core/tags/taglib/taglib_reader.h"

#include "support/audio_files.h"
#include "support/core_fixture.h"

namespace listora::test {
namespace {

using TagLibReaderTest = CoreFixture;

std::string tagged(const TempDir& dir, const std::string& name, const std::string& audio, const std::string& title,
                   const std::string& artist) {
    const std::string path = dir.write(name, audio);
    EXPECT_TRUE(writeTag(path, title, artist)) << name;
    return path;
}

// Catches a kind of file not read, a length that is not the audio's, and
// broken, missing or non-audio files taken for music.
TEST_F(TagLibReaderTest, ReadsTagsAndLengthsOfEachKind) {
    const std::string mp3 = tagged(dir, "a.mp3", mp3Audio(65.2, true), "曲名", "歌手");
    const std::string bytes = readFile(mp3);
    const struct {
        std::string path;
        std::optional<TagInfo> expected;
    } cases[] = {
        {mp3, TagInfo{"曲名", "歌手", 65}},
        {dir.write("plain.mp3", mp3Audio(30.5, false)), TagInfo{"", "", 30}},
        {tagged(dir, "b.flac", flacAudio(200), "Flac", ""), TagInfo{"Flac", "", 200}},
        {tagged(dir, "c.opus", opusAudio(42), "Opus", "Ogg"), TagInfo{"Opus", "Ogg", 42}},
        // An Opus file under another name is known by its contents.
        {dir.write("d.ogg.wave", readFile(dir.path("c.opus"))), TagInfo{"Opus", "Ogg", 42}},
        {dir.write("\xFF\xFE.mp3", bytes), TagInfo{"曲名", "歌手", 65}},
        {dir.write("cut.mp3", bytes.substr(0, 40)), std::nullopt},
        {dir.write("text.mp3", "not music at all\n"), std::nullopt},
        {dir.write("empty.flac", ""), std::nullopt},
        {dir.makeFolder("folder.mp3"), std::nullopt},
        {dir.path("missing.mp3"), std::nullopt},
    };
    TagLibReader reader(NativeFileSystem(CodePage::Utf8, CodePage::Utf8), CodePage::Utf8);
    for (const auto& c : cases) {
        const std::optional<TagInfo> got = reader.read(c.path);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.path;
        if (!got) continue;
        EXPECT_EQ(got->title, c.expected->title) << c.path;
        EXPECT_EQ(got->artist, c.expected->artist) << c.path;
        EXPECT_EQ(got->seconds, c.expected->seconds) << c.path;
    }
}

// Catches a CP932 name handed to TagLib unconverted, and tag text left in
// UTF-8 where the program holds CP932.
TEST_F(TagLibReaderTest, Cp932NamesAndTextsGoThroughTheConversion) {
    tagged(dir, "\xE6\x9B\xB2.mp3", mp3Audio(3, true), "\xE6\x9B\xB2", "A");
    TagLibReader reader(NativeFileSystem(CodePage::Cp932, CodePage::Utf8), CodePage::Cp932);
    const std::optional<TagInfo> got = reader.read(dir.path("\x8B\xC8.mp3"));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->title, "\x8B\xC8");
    EXPECT_EQ(got->seconds, 3);
}

}  // namespace
}  // namespace listora::test

#include "ui/media/qt_media_player.h"

#include "support/temp_dir.h"

#include <QFile>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

// A mono 16-bit PCM WAV file of `milliseconds` of silence at 8 kHz.
std::string writeWav(const std::string& path, int milliseconds) {
    const std::uint32_t rate = 8000;
    const std::uint32_t dataBytes = rate * 2 * static_cast<std::uint32_t>(milliseconds) / 1000;
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&](std::uint32_t value) { out.write(reinterpret_cast<const char*>(&value), 4); };
    const auto u16 = [&](std::uint16_t value) { out.write(reinterpret_cast<const char*>(&value), 2); };
    out << "RIFF";
    u32(36 + dataBytes);
    out << "WAVEfmt ";
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out << "data";
    u32(dataBytes);
    out << std::string(dataBytes, '\0');
    return path;
}

bool gstreamerCanReadWav() {
    return QFile::exists(QStringLiteral("/usr/lib/x86_64-linux-gnu/gstreamer-1.0/libgstwavparse.so"));
}

TEST(QtMediaPlayer, OpensAWavWithItsExactLengthAndRefusesWhatIsNoMedia) {
    if (!gstreamerCanReadWav()) GTEST_SKIP() << "GStreamer's wavparse plugin (gstreamer1.0-plugins-good) is missing";
    TempDir dir;
    QtMediaPlayer player;
    EXPECT_EQ(player.open(writeWav(dir.path("tone.wav"), 1500)), std::nullopt);
    EXPECT_EQ(player.length(), 1500);
    EXPECT_EQ(player.position(), 0);
    player.seek(750);
    EXPECT_EQ(player.position(), 750);
    player.close();
    // A name that is no valid UTF-8 reaches GStreamer as its own bytes.
    EXPECT_EQ(player.open(writeWav(dir.path("caf\xe9 \x95\x5c.wav"), 500)), std::nullopt);
    EXPECT_EQ(player.length(), 500);
    player.close();

    const std::optional<std::string> noise = player.open(dir.write("noise.mp3", std::string(4096, '\x5a')));
    ASSERT_TRUE(noise.has_value());
    EXPECT_FALSE(noise->empty());
    EXPECT_TRUE(player.open(dir.path("missing.wav")).has_value());
}

}  // namespace
}  // namespace listora::test

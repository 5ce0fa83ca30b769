#include "ui/media/qt_media_player.h"

#include "core/player/player.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QFile>
#include <chrono>
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
    // Qt keeps a refused file's error in its player: the next good file must
    // not inherit it.
    EXPECT_EQ(player.open(dir.path("tone.wav")), std::nullopt);
    EXPECT_EQ(player.length(), 1500);
}

// `seconds` of MPEG-1 Layer III frames of silence (mono, 128 kbit/s,
// 44.1 kHz, 417 bytes each), with no Xing header to tell the length: the
// length is 0 just after loading.
std::string writeMp3(const std::string& path, int seconds) {
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';  // MPEG-1, Layer III, no CRC
    frame[2] = '\x90';  // 128 kbit/s, 44.1 kHz, no padding
    frame[3] = '\xC0';  // mono
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < seconds * 44100 / 1152; ++i) out << frame;
    return path;
}

bool gstreamerCanReadMp3() {
    return QFile::exists(QStringLiteral("/usr/lib/x86_64-linux-gnu/gstreamer-1.0/libgstaudioparsers.so"));
}

// Catches an MP3 that runs to its end at once when played: it plays in real
// time from its start, read from the back end's own position.
TEST(QtMediaPlayer, AnMp3WithoutItsLengthPlaysInRealTime) {
    if (!gstreamerCanReadMp3()) GTEST_SKIP() << "GStreamer's audioparsers plugin is missing";
    TempDir dir;
    Player player(std::make_unique<QtMediaPlayer>());
    player.setFileName(writeMp3(dir.path("silence.mp3"), 20));
    player.open();
    const auto started = std::chrono::steady_clock::now();
    player.play();
    int position = 0;
    while (std::chrono::steady_clock::now() - started < std::chrono::seconds(5) && position < 400) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        position = player.position().value_or(0);
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    EXPECT_GE(position, 400);
    // In real time, with some slack for a slow start; the fault ran the
    // whole file through in some 40 ms.
    EXPECT_LE(position, elapsed + 300) << "played " << position << " ms in " << elapsed << " ms";
    EXPECT_LT(position, 10'000);
}

}  // namespace
}  // namespace listora::test

#include "ui/media/qt_media_player.h"

#include "core/player/player.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QFile>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

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

// Serves one file's bytes over HTTP on 127.0.0.1 to every request, until
// destroyed.
class LoopbackServer {
public:
    explicit LoopbackServer(std::string body) : body_(std::move(body)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(listener_, 8) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        ::close(listener_);
    }
    int port() const { return port_; }

private:
    void serve() {
        while (!stop_) {
            pollfd ready{listener_, POLLIN, 0};
            if (::poll(&ready, 1, 50) <= 0) continue;
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            char request[4096];
            (void)::recv(client, request, sizeof request, 0);  // any request gets the whole file
            std::ostringstream head;
            head << "HTTP/1.1 200 OK\r\nContent-Type: audio/x-wav\r\nContent-Length: " << body_.size()
                 << "\r\nConnection: close\r\n\r\n";
            const std::string reply = head.str() + body_;
            for (std::size_t sent = 0; sent < reply.size();) {
                const ssize_t n = ::send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<std::size_t>(n);
            }
            ::close(client);
        }
    }

    std::string body_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

// Catches an address handed to the back end as a local file's name: it must
// be fetched and played as a stream.
TEST(QtMediaPlayer, PlaysAnAddressThroughTheBackEnd) {
    if (!gstreamerCanReadWav() ||
        !QFile::exists(QStringLiteral("/usr/lib/x86_64-linux-gnu/gstreamer-1.0/libgstsoup.so")))
        GTEST_SKIP() << "GStreamer's wavparse or souphttpsrc plugin is missing";
    TempDir dir;
    std::ifstream in(writeWav(dir.path("tone.wav"), 1500), std::ios::binary);
    LoopbackServer server(std::string(std::istreambuf_iterator<char>(in), {}));
    ASSERT_NE(server.port(), 0);
    QtMediaPlayer player;
    const std::string address = "http://127.0.0.1:" + std::to_string(server.port()) + "/tone.wav";
    EXPECT_EQ(player.open(address), std::nullopt);
    player.play();
    const auto started = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - started < std::chrono::seconds(5) && player.position() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(player.position(), 200);
    player.close();
}

}  // namespace
}  // namespace listora::test

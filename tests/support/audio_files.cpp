#include "support/audio_files.h"

#include <cmath>
#include <cstdint>
#include <taglib/fileref.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

namespace listora::test {
namespace {

void putBigEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
void putLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Ogg's page checksum: CRC-32, polynomial 0x04C11DB7, not reflected.
std::uint32_t oggCrc(const std::string& page) {
    std::uint32_t crc = 0;
    for (const char c : page) {
        crc ^= static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 24;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

std::string oggPage(const std::string& packet, int headerType, std::uint64_t granule, std::uint32_t sequence) {
    std::string page = "OggS";
    page += '\0';
    page += static_cast<char>(headerType);
    putLittleEndian(page, granule, 8);
    putLittleEndian(page, 0x4C495354, 4);  // the stream's serial number
    putLittleEndian(page, sequence, 4);
    putLittleEndian(page, 0, 4);  // the checksum, filled in below
    std::string lacing;
    std::size_t left = packet.size();
    for (; left >= 255; left -= 255) lacing += static_cast<char>(255);
    lacing += static_cast<char>(left);
    page += static_cast<char>(lacing.size());
    page += lacing + packet;
    const std::uint32_t crc = oggCrc(page);
    for (int i = 0; i < 4; ++i) page[22 + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    return page;
}

}  // namespace

std::string mp3Audio(double seconds, bool xingHeader) {
    constexpr std::size_t kFrameBytes = 417;  // 144 * 128000 / 44100
    const auto frames = static_cast<std::uint32_t>(std::ceil(seconds * 44100 / 1152));
    std::string frame("\xFF\xFB\x90\x00", 4);
    frame.resize(kFrameBytes, '\0');
    std::string out;
    out.reserve((frames + 1) * kFrameBytes);
    if (xingHeader) {
        std::string first = frame.substr(0, 4 + 32);  // header and a stereo frame's side information
        first += "Xing";
        putBigEndian(first, 0x3, 4);  // the frame and byte counts follow
        putBigEndian(first, frames, 4);
        putBigEndian(first, std::uint64_t{frames} * kFrameBytes, 4);
        first.resize(kFrameBytes, '\0');
        out += first;
    }
    for (std::uint32_t i = 0; i < frames; ++i) out += frame;
    return out;
}

std::string flacAudio(long long seconds) {
    std::string out = "fLaC";
    out += static_cast<char>(0x80);  // the last metadata block, STREAMINFO
    putBigEndian(out, 34, 3);
    putBigEndian(out, 4096, 2);
    putBigEndian(out, 4096, 2);
    putBigEndian(out, 0, 3);
    putBigEndian(out, 0, 3);
    // 20 bits of sample rate, 3 of channels - 1, 5 of bits per sample - 1,
    // 36 of the sample count.
    const std::uint64_t samples = static_cast<std::uint64_t>(seconds) * 44100;
    putBigEndian(out, (std::uint64_t{44100} << 44) | (std::uint64_t{1} << 41) | (std::uint64_t{15} << 36) | samples, 8);
    out.append(16, '\0');  // no MD5 of the audio
    out += std::string("\xFF\xF8\x69\x08", 4);
    out.append(1024, '\0');
    return out;
}

std::string opusAudio(long long seconds) {
    constexpr std::uint16_t kPreSkip = 312;
    std::string head = "OpusHead";
    head += '\1';
    head += '\2';
    putLittleEndian(head, kPreSkip, 2);
    putLittleEndian(head, 48000, 4);
    putLittleEndian(head, 0, 2);
    head += '\0';
    std::string tags = "OpusTags";
    putLittleEndian(tags, 6, 4);
    tags += "listor";
    putLittleEndian(tags, 0, 4);
    std::string audio(200, '\0');
    audio[0] = static_cast<char>(0xFC);  // a 20 ms CELT frame's table of contents
    return oggPage(head, 0x02, 0, 0) + oggPage(tags, 0, 0, 1) +
           oggPage(audio, 0x04, kPreSkip + static_cast<std::uint64_t>(seconds) * 48000, 2);
}

bool writeTag(const std::string& path, const std::string& title, const std::string& artist) {
    TagLib::FileRef file(path.c_str(), false);
    if (file.isNull() || !file.tag()) return false;
    file.tag()->setTitle(TagLib::String(title, TagLib::String::UTF8));
    file.tag()->setArtist(TagLib::String(artist, TagLib::String::UTF8));
    return file.save();
}

}  // namespace listora::test

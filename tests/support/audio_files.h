#pragma once
// Small music files made from nothing, for the tag reader's tests, the bench
// and the fuzz seeds: real frame and page headers around silent or empty
// audio, and tags written by TagLib. No GoogleTest here.

#include <string>

namespace listora::test {

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, stereo: enough frames for
// `seconds`, the first one a Xing header giving the frame count when asked.
std::string mp3Audio(double seconds, bool xingHeader);
// The STREAMINFO of `seconds` at 44.1 kHz and a little audio after it.
std::string flacAudio(long long seconds);
// Ogg Opus: the head, empty tags and one audio page ending at `seconds`.
std::string opusAudio(long long seconds);

// Sets the title and artist (UTF-8) in the file's own kind of tag (ID3v2
// for an MP3) with TagLib; false when it could not.
bool writeTag(const std::string& path, const std::string& title, const std::string& artist);

}  // namespace listora::test

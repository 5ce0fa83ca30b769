// The length column's texts: any text turns into seconds without undefined
// behaviour, and every length an #EXTINF line can give is written back as
// the same number of seconds.

#include "core/playlist/length_text.h"
#include "require.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace listora;
    using listora::fuzz::require;
    FuzzedDataProvider input(data, size);
    const int seconds = input.ConsumeIntegral<int>();
    const std::string text = input.ConsumeRemainingBytesAsString();
    require(parseInteger(LengthTextToSeconds(FormatLengthText(seconds))) == seconds, "a length is written back");
    const std::optional<int> parsed = parseInteger(text);
    require(!parsed || parseInteger(LengthTextToSeconds(FormatLengthText(*parsed))) == parsed,
            "a read length is written back");
    LengthTextToSeconds(text);
    return 0;
}

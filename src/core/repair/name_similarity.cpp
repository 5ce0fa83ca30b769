#include "core/repair/name_similarity.h"

#include "core/text/codepage.h"

#include <algorithm>

namespace listora {
namespace {

bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string normalisedName(std::string_view fileName, const PathRules& rules) {
    std::string text;
    normaliseName(fileName, rules, text);
    return text;
}

// One pass, into a buffer that serves every name of a long walk.
void normaliseName(std::string_view fileName, const PathRules& rules, std::string& out) {
    const std::string_view base = fileName.substr(0, fileName.size() - rules.extension(fileName).size());
    const CodePage cp = rules.codePage();
    out.clear();
    std::size_t numbersEnd = 0;  // where the leading tokens of digits end
    bool onlyDigits = true;
    bool leading = true;
    const auto endWord = [&] {
        if (out.empty() || out.back() == ' ') return;
        if (leading && onlyDigits) {
            numbersEnd = out.size() + 1;
        } else {
            leading = false;
        }
        out += ' ';
        onlyDigits = true;
    };
    for (std::size_t i = 0; i < base.size(); ++i) {
        const auto byte = static_cast<unsigned char>(base[i]);
        if (isLeadByte(cp, byte) && i + 1 < base.size()) {
            out += base.substr(i++, 2);
            onlyDigits = false;
        } else if (byte >= 0x80 || (byte >= 'a' && byte <= 'z')) {
            out += base[i];
            onlyDigits = false;
        } else if (byte >= 'A' && byte <= 'Z') {
            out += static_cast<char>(byte - 'A' + 'a');
            onlyDigits = false;
        } else if (isAsciiDigit(base[i])) {
            out += base[i];
        } else {
            endWord();
        }
    }
    endWord();
    if (!out.empty()) out.pop_back();
    // A name that is only a number keeps it.
    if (numbersEnd < out.size()) out.erase(0, numbersEnd);
}

std::vector<std::uint32_t> nameTrigrams(std::string_view normalised) {
    std::vector<std::uint32_t> grams;
    collectTrigrams(normalised, grams);
    return grams;
}

void collectTrigrams(std::string_view normalised, std::vector<std::uint32_t>& grams) {
    grams.clear();
    if (normalised.empty()) return;
    const auto byteAt = [&](std::size_t i) -> std::uint32_t {
        return i == 0 || i > normalised.size() ? ' ' : static_cast<unsigned char>(normalised[i - 1]);
    };
    for (std::size_t i = 0; i + 3 <= normalised.size() + 2; ++i)
        grams.push_back(byteAt(i) << 16 | byteAt(i + 1) << 8 | byteAt(i + 2));
    std::sort(grams.begin(), grams.end());
    grams.erase(std::unique(grams.begin(), grams.end()), grams.end());
}

double diceSimilarity(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    if (a.empty() || b.empty()) return 0.0;
    std::size_t common = 0;
    for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        if (a[i] < b[j]) {
            ++i;
        } else if (b[j] < a[i]) {
            ++j;
        } else {
            ++common, ++i, ++j;
        }
    }
    return 2.0 * static_cast<double>(common) / static_cast<double>(a.size() + b.size());
}

}  // namespace listora

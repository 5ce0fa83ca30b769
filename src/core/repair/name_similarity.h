#pragma once
// How alike two file names are, for files renamed after a playlist was
// written ("01 - Yesterday.mp3" became "Yesterday.mp3").
//
// The measure: Dice's coefficient, 2|A∩B| / (|A|+|B|), over the sets of byte
// trigrams of the two normalised names, each padded with a space at both
// ends. Normalised: the extension dropped, ASCII letters lower-cased, every
// other ASCII character but a digit taken as a space, leading tokens that
// are only digits (track numbers: "01", "1-02") dropped unless nothing else
// is left, and runs of spaces made one. Trigrams keep the order of letters
// that a set of words loses, cost nothing to compute, work on any code page,
// and a changed word costs only the trigrams it touches; a score of 1 is the
// same normalised name, 0 nothing in common.

#include "core/paths/path_rules.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace listora {

// Candidates scoring below this are not offered.
inline constexpr double kOfferedSimilarity = 0.4;
// A candidate is taken without asking (listora-cli relink --closest) from
// this score on, when no other scores as high.
inline constexpr double kAcceptedSimilarity = 0.6;

std::string normalisedName(std::string_view fileName, const PathRules& rules);
// The same into `out`, for many names in a row.
void normaliseName(std::string_view fileName, const PathRules& rules, std::string& out);

// The distinct trigrams of a normalised name, sorted.
std::vector<std::uint32_t> nameTrigrams(std::string_view normalised);
void collectTrigrams(std::string_view normalised, std::vector<std::uint32_t>& grams);

double diceSimilarity(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b);

}  // namespace listora

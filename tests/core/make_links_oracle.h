// A plain, step-by-step transcription of link conversion, kept only to check
// MakeLinks against: every step copies the remainder and upper-cases it again,
// so it is slow on long texts with many addresses.
#pragma once

#include <string>

namespace varno::oracle {

std::string MakeLinksOracle(std::string text);

}  // namespace varno::oracle

#pragma once
// The regional settings the regional targets choose from with one byte of their input.
#include <array>

#include "platform/text/regional.h"

namespace fuzzsupport {

inline text::RegionalSettings ChosenSettings(std::uint8_t byte) {
    static const std::array<const char*, 6> kSpecs{"DMY,/,.,,", "MDY,/,,,.", "YMD,-,,,.",
                                                   "DMY,.,.,,", "DMY,-, ,,", "MDY,.,',."};
    return *text::RegionalSettings::Parse(kSpecs[byte % kSpecs.size()]);
}

}  // namespace fuzzsupport

// A 5x7 pixel font for the text the simulated camera draws into its images.
#pragma once

#include <stdint.h>

namespace sim {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Seven rows of five bits (bit 4 = leftmost column) for `ch`; '?' for characters without a glyph.
const uint8_t* GlyphRows(char ch);

}  // namespace sim

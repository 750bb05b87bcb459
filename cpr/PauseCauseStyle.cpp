#include "cpr/PauseCauseStyle.h"

#include <array>

namespace {
// Indexed by PauseCause; the comments give the grey each colour prints as (0..255).
constexpr std::array<uint32_t, PauseCauseCount> Colours = {
    0xFFF1A6, // until analysis: pale yellow, 237
    0x78C8FF, // analysis: light blue, 182
    0xE66E3C, // charge: orange, 140
    0x961E6E, // to shock: dark magenta, 75
    0x78B964, // after shock: green, 156
    0xC8E6AA, // after analysis: pale green, 214
    0x3C78C8, // pads: blue, 111
    0xC8BEF0, // breaths: lavender, 199
    0xDCDCDC, // other: light grey, 220
    0xFFB4C8, // rhythm check: pink, 205
    0x64B4B4, // airway: teal, 156
    0x969696, // transport: grey, 150
};
} // namespace

PauseCauseStyle pauseCauseStyle(PauseCause cause, bool setByReviewer)
{
    const bool reviewerOnly = cause == PauseCause::RhythmCheck || cause == PauseCause::Airway
        || cause == PauseCause::Transport;
    return {Colours[size_t(cause)], setByReviewer || reviewerOnly};
}

#pragma once

// Language-pack texts of the sound playback.
namespace SoundText {
constexpr int OutputMissing = 316; // "Sound cannot be played: %1" (%1: why the sound output is missing)
} // namespace SoundText

#pragma once

// Language-pack texts of the ECG pictures.
namespace EcgText {
constexpr int Title = 142;          // "ECG (Lead II)"
constexpr int GridEnlarged = 143;   // "Grid size is 0.20s x 0.50mV at Gain x1"
constexpr int GridLarge = 144;      // "Grid size is 0.04s x 0.20mV at Gain x1"
constexpr int GridEntire = 166;     // "Grid size is 1.00s x 1.00mV at Gain x1"
} // namespace EcgText

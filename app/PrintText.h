#pragma once

// Language-pack texts of printing.
namespace PrintText {
constexpr int Unavailable = 317; // "Printing is not available: %1" (%1: why the printing plugin is missing)
} // namespace PrintText

#pragma once

// Language-pack texts of "Adjust..." and "Undo adjustment" (the case menu, the General form
// and the adjust flow).
namespace AdjustText {
// "The adjusted power on time "%1" lies outside the years 1970 to 2099. Nothing was changed."
constexpr int YearOutOfRange = 390;
// "Undo adjustment": the case menu's command and the General form's button.
constexpr int UndoAdjustment = 391;
} // namespace AdjustText

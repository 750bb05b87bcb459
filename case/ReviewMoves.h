#pragma once

#include <Qt>
#include <cstdint>

// Moves of the review position that the keys and the mouse wheel ask for on the ECG tabs.
// A move is decided here and carried out by the tab host through the same position change
// as its scroll-bar arrows.
struct ReviewMove
{
    enum class Kind { None, By, ToStart, ToEnd };
    Kind kind = Kind::None;
    int64_t seconds = 0; // By: signed seconds of case time

    bool operator==(const ReviewMove &) const = default;
};

// Seconds a key moves the review on an ECG tab showing screenSeconds at once:
// Left / Right one second (Shift: ten), Page Up / Page Down one screen, Home / End the
// case's start and end. Other keys, and Ctrl or Alt with these, are not review moves.
ReviewMove reviewMoveForKey(int key, Qt::KeyboardModifiers modifiers, int screenSeconds);

// One wheel notch is 120 units of angle delta (a notch away from the user goes back in
// time). Whole notches are taken from accumulated (touchpads send fractions), the rest
// stays there for the next event; each notch moves notchSeconds, ten times that with Shift.
ReviewMove reviewMoveForWheel(int &accumulated, int angleDelta, Qt::KeyboardModifiers modifiers, int notchSeconds);

// Whole wheel notches in accumulated + angleDelta; the remainder stays in accumulated.
int takeWheelNotches(int &accumulated, int angleDelta);

// Where a move leaves a review at position in a case ending at endSeconds: never before
// 0 or after the end. A None move leaves it where it is.
int64_t positionAfterMove(const ReviewMove &move, int64_t position, int64_t endSeconds);

#pragma once

#include <cstdint>

// What the scroll bar of an ECG tab reports. One scroll unit is one second of case time.
enum class ScrollNotification {
    LineLeft,      // left arrow
    LineRight,     // right arrow
    PageLeft,      // click in the trough left of the thumb
    PageRight,     // click in the trough right of the thumb
    ThumbPosition, // thumb released at q
    ThumbTrack,    // thumb dragged to q
};

struct ScrollDecision
{
    enum class Kind { Nothing, JumpToStart, JumpToEnd, Move };
    Kind kind = Kind::Nothing;
    int scrollPos = 0;           // Move: the new scroll position
    int64_t positionSeconds = 0; // Move: the new review position, seconds from the case start

    bool operator==(const ScrollDecision &) const = default;
};

// The scroll bar's state when a notification arrives.
struct ScrollInput
{
    int p = 0;                   // scroll position before the change
    int q = 0;                   // thumb position (thumb notifications only)
    int lo = 0;                  // scroll range
    int hi = 0;
    int arrowStep = 1;           // seconds per arrow click: 30 entire ECG, 1 enlarged ECG
    int64_t positionSeconds = 0; // review position
    int64_t endSeconds = 0;      // end of the case: latest elapsed event time
};

// The ECG tabs' scroll table. Arrows move by the arrow step and the trough by one second
// while the review stays inside the case, else they jump to its start or end. A dragged
// thumb takes the picture with it to every second it passes (the ends jump); a released
// thumb moves only when it lands more than 20 units from where the picture is.
ScrollDecision decideScroll(ScrollNotification notification, const ScrollInput &in);

// Largest thumb move, in units, that a release ignores.
constexpr int ThumbFollowLimit = 20;

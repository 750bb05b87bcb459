#pragma once

#include "base/CTime.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

struct CaseRecord;

// What the reviewer typed into "Go to time...".
struct GoToRequest
{
    enum class Kind {
        Invalid,     // none of the forms below
        ClockTime,   // "HH:MM:SS" (or "H:MM:SS", "HH:MM"): a time of day on the case's clock
        Elapsed,     // "+MM:SS", "+H:MM:SS" or "+SS": time since power-on
        EventNumber, // "N": the N-th event of the case in time order, from 1
    };
    Kind kind = Kind::Invalid;
    int64_t value = 0; // seconds of day, elapsed seconds, or the event number

    bool operator==(const GoToRequest &) const = default;
};

// Reads the typed text; blanks around it are ignored. Minutes and seconds after the first
// field must be two digits below 60, hours of a clock time below 24.
GoToRequest parseGoToRequest(QStringView text);

// Where a request leads in a case: the review position in seconds, or why it cannot go.
struct GoToTarget
{
    enum class Outcome { Found, Invalid, OutsideCase, NoSuchEvent };
    Outcome outcome = Outcome::Invalid;
    int64_t positionSeconds = 0;

    bool operator==(const GoToTarget &) const = default;
};

// The position a request names in a case reaching from 0 to endSeconds. A clock time is
// read on the clock the tree shows: the device clock's time of day of start + elapsed
// when the start is valid (the first such moment after power-on, so a case running past
// midnight reaches the next day's times), else the elapsed time's own hours. eventTimes
// are the elapsed seconds of the case's events in time order.
GoToTarget resolveGoToRequest(const GoToRequest &request, bool startTimeValid, CTime startTime, int64_t endSeconds,
                              const std::vector<int64_t> &eventTimes);

// "+H:MM:SS" of elapsed seconds, the form "Go to time..." reads back.
QString elapsedText(int64_t seconds);

// The slots of a case's used events in time order (the tree's order: events at the same
// time in slot order).
std::vector<int> eventSlotsInOrder(const CaseRecord &c);
// Their elapsed seconds, in that order.
std::vector<int64_t> eventTimesInOrder(const CaseRecord &c);

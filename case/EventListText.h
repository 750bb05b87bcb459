#pragma once

#include "base/CTime.h"
#include "case/TreeControl.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

class LanguagePack;

// The texts and images of the case tree's branch of a case: node labels, the UTC-offset
// suffix, the clock labels of the events and the images of their kinds.
namespace EventListText {

// "2021-03-07" of a valid start date, else "????-??-??".
QString dateNodeText(bool startTimeValid, CTime startDate);
// "2021-03-07 09:05:00" on the device clock.
QString startTimeText(CTime startTime);
QString unknownStartTimeText(); // "????-??-?? ??:??:??"

// "(UTC+09:00)" or "(UTC-04:30)" for an offset in minutes east of UTC, with " Adjust Time"
// after it when the start was typed on the General tab.
QString zoneSuffix(int32_t offsetMinutes, bool adjusted);

// "HH:MM:SS " (with its blank): with a valid start the device clock's time of day of
// start + elapsed; otherwise the hours within the day, minutes and seconds of elapsed itself.
QString clockLabel(bool startTimeValid, CTime startTime, CTimeSpan elapsed);

// A decimal integer read the way the C library's wide-string conversion does: leading
// white space and a sign allowed, reading stops at the first non-digit, no digits give 0.
// Values beyond the int range stop at its limits.
int readDecimal(QStringView text);

// A start typed as "yyyy-mm-dd hh:mm:ss": year from characters 0-3, month 5-6, day 8-9,
// hour 11-12, minute 14-15, second from the last two characters, each read with
// readDecimal; the device clock's time of those fields, out-of-range fields carried over.
CTime parseAdjustedStart(const QString &text);
// A start typed for "Adjust...": exactly "YYYY-MM-DD HH:MM:SS" naming a real date and time
// (month 1-12, a day of that month, hour 0-23, minute and second 0-59); nothing otherwise.
// Any year of four digits passes: whether a case can start then is isStartYear's question.
std::optional<CTime> parseStrictStart(const QString &text);

// The years a case can start in, those of the starts an archive may hold (1970-2099); a
// start typed or kept for a case lies in them.
constexpr int FirstStartYear = 1970;
constexpr int LastStartYear = 2099;
constexpr bool isStartYear(int year) { return year >= FirstStartYear && year <= LastStartYear; }
// parseStrictStart's start when its year is one a case can start in; nothing otherwise.
std::optional<CTime> parseStartInYears(const QString &text);

// The four pack texts that decide an event's image.
struct EventKindTexts
{
    QString deliverShock;   // text 62, an event beginning with it is a shock
    QString shockDelivered; // text 10, likewise
    QString powerOff;       // text 51, exact
    QString powerOn;        // text 50, exact

    static EventKindTexts from(const LanguagePack &pack);
};

// The kind of an event item by its text, tested in this order: a shock prompt, power off,
// power on, an annotation ("A: "), anything else. An empty pack text matches nothing.
TreeImage::EventKind eventKind(const QString &text, const EventKindTexts &texts);

} // namespace EventListText

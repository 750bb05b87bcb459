#include "case/EventListText.h"

#include "base/LanguagePack.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace EventListText {
namespace {
constexpr int DeliverShockText = 62;
constexpr int ShockDeliveredText = 10;
constexpr int PowerOffText = 51;
constexpr int PowerOnText = 50;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || (c >= QLatin1Char('\t') && c <= QLatin1Char('\r'));
}
} // namespace

QString dateNodeText(bool startTimeValid, CTime startDate)
{
    if (!startTimeValid)
        return QStringLiteral("?\?\?\?-?\?-?\?");
    return QString::asprintf("%04d-%02d-%02d", startDate.GetYear(), startDate.GetMonth(), startDate.GetDay());
}

QString startTimeText(CTime t)
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(),
                             t.GetMinute(), t.GetSecond());
}

QString unknownStartTimeText()
{
    return QStringLiteral("?\?\?\?-?\?-?\? ?\?:?\?:?\?");
}

QString zoneSuffix(int32_t offsetMinutes, bool adjusted)
{
    const int hours = std::abs(offsetMinutes / 60);
    const int minutes = std::abs(offsetMinutes % 60);
    const char sign = offsetMinutes < 0 ? '-' : '+';
    return QString::asprintf("(UTC%c%02d:%02d)%s", sign, hours, minutes, adjusted ? " Adjust Time" : "");
}

QString clockLabel(bool startTimeValid, CTime startTime, CTimeSpan elapsed)
{
    int hour = elapsed.GetHours();
    int minute = elapsed.GetMinutes();
    int second = elapsed.GetSeconds();
    if (startTimeValid) {
        const CalendarFields clock = DeviceClockFields(startTime + elapsed);
        hour = clock.hour;
        minute = clock.minute;
        second = clock.second;
    }
    if (hour < 0 || minute < 0 || second < 0)
        return QString::asprintf("%02d:%02d:%02d ", hour, minute, second);
    const QChar text[] = {QChar(u'0' + hour / 10 % 10), QChar(u'0' + hour % 10), QLatin1Char(':'),
                          QChar(u'0' + minute / 10), QChar(u'0' + minute % 10), QLatin1Char(':'),
                          QChar(u'0' + second / 10), QChar(u'0' + second % 10), QLatin1Char(' ')};
    return QString(text, 9);
}

int readDecimal(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    int64_t value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min<int64_t>(value * 10 + (text[i].unicode() - '0'), int64_t(INT_MAX) + 1);
    value = negative ? -value : value;
    return int(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

CTime parseAdjustedStart(const QString &text)
{
    const QStringView t(text);
    const auto field = [&](qsizetype from, qsizetype length) {
        return from < t.size() ? readDecimal(t.mid(from, length)) : 0;
    };
    const int year = field(0, 4);
    const int month = field(5, 2);
    const int day = field(8, 2);
    const int hour = field(11, 2);
    const int minute = field(14, 2);
    const int second = readDecimal(t.right(2));
    return CTime(year, month, day, hour, minute, second);
}

std::optional<CTime> parseStrictStart(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2}):(\\d{2}):(\\d{2})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const auto field = [&](int i) { return m.capturedView(i).toInt(); };
    const QDate date(field(1), field(2), field(3));
    const int hour = field(4);
    const int minute = field(5);
    const int second = field(6);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return CTime(date.year(), date.month(), date.day(), hour, minute, second);
}

std::optional<CTime> parseStartInYears(const QString &text)
{
    const std::optional<CTime> start = parseStrictStart(text);
    if (!start || !isStartYear(int(text.left(4).toInt())))
        return std::nullopt;
    return start;
}

EventKindTexts EventKindTexts::from(const LanguagePack &pack)
{
    return {pack.GetText(DeliverShockText), pack.GetText(ShockDeliveredText), pack.GetText(PowerOffText),
            pack.GetText(PowerOnText)};
}

TreeImage::EventKind eventKind(const QString &text, const EventKindTexts &texts)
{
    using TreeImage::EventKind;
    const auto beginsWith = [&](const QString &prefix) { return !prefix.isEmpty() && text.startsWith(prefix); };
    if (beginsWith(texts.deliverShock) || beginsWith(texts.shockDelivered))
        return EventKind::Shock;
    if (!texts.powerOff.isEmpty() && text == texts.powerOff)
        return EventKind::PowerOff;
    if (!texts.powerOn.isEmpty() && text == texts.powerOn)
        return EventKind::PowerOn;
    if (text.startsWith(QLatin1String("A: ")))
        return EventKind::Annotation;
    return EventKind::Other;
}

} // namespace EventListText

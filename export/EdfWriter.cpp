#include "export/EdfWriter.h"

#include <QString>
#include <algorithm>
#include <cstring>

namespace EdfWriter {

namespace {

constexpr int RecordSeconds = 1;
constexpr int HeaderBlock = 256;
constexpr char TalEnd = '\x14';
constexpr char DurationMark = '\x15';

// A header field: US-ASCII, left-aligned, cut or padded with spaces to width.
void field(QByteArray &out, const QByteArray &text, int width)
{
    QByteArray f = text.left(width);
    for (char &ch : f)
        if (ch < 32 || ch > 126)
            ch = '_';
    out += f;
    out += QByteArray(width - f.size(), ' ');
}

QByteArray number(int64_t n)
{
    return QByteArray::number(qlonglong(n));
}

QByteArray twoDigits(int n)
{
    return QByteArray::number(n).rightJustified(2, '0');
}

// Seconds and milliseconds of a non-negative ms count ("12.5", "0.004", "3").
QByteArray secondsText(int64_t ms)
{
    QByteArray text = number(ms / 1000);
    if (const int64_t rest = ms % 1000; rest != 0) {
        QByteArray fraction = number(rest).rightJustified(3, '0');
        while (fraction.endsWith('0'))
            fraction.chop(1);
        text += '.' + fraction;
    }
    return text;
}

// Annotation text without the bytes that delimit the lists (0, 20, 21) and without other
// control characters, which readers show badly.
QByteArray annotationText(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    for (char &ch : bytes)
        if (uchar(ch) < 32 || ch == 127)
            ch = ' ';
    return bytes;
}

QByteArray tal(int64_t onsetMs, int64_t durationMs, const QByteArray &text)
{
    QByteArray t = onsetText(onsetMs);
    if (durationMs >= 0)
        t += DurationMark + durationText(durationMs);
    t += TalEnd;
    t += text;
    t += TalEnd;
    t += '\0';
    return t;
}

// The record of every annotation: its own one or, when that record cannot take it within
// capacity bytes, the next one that can. Only the sizes are needed: used holds the bytes
// each record's list starts with (its time-keeping annotation). Empty when the
// annotations do not fit.
std::vector<int64_t> placeAnnotations(const std::vector<std::pair<int64_t, QByteArray>> &tals,
                                      std::vector<qsizetype> used, qsizetype capacity)
{
    const auto records = int64_t(used.size());
    std::vector<int64_t> placed;
    placed.reserve(tals.size());
    int64_t record = 0;
    for (const auto &[own, bytes] : tals) {
        record = std::max(record, own);
        while (record < records && used[size_t(record)] + bytes.size() > capacity)
            ++record;
        if (record == records)
            return {};
        used[size_t(record)] += bytes.size();
        placed.push_back(record);
    }
    return placed;
}

// Writes the time-keeping annotation of one record ("+12.5\x14\x14\0") at p; returns its end.
char *putTimeKeeping(char *p, int64_t onsetMs)
{
    const QByteArray onset = onsetText(onsetMs);
    std::memcpy(p, onset.constData(), size_t(onset.size()));
    p += onset.size();
    *p++ = TalEnd;
    *p++ = TalEnd;
    *p++ = '\0';
    return p;
}

// Size of the time-keeping annotation of one record.
qsizetype timeKeepingSize(int64_t onsetMs)
{
    return onsetText(onsetMs).size() + 3;
}

template <int BytesPerSample>
uchar *putSamples(uchar *p, const int32_t *from, int64_t count, int32_t lowest, int32_t highest)
{
    for (int64_t k = 0; k < count; ++k) {
        const auto v = uint32_t(std::clamp(from[k], lowest, highest));
        p[0] = uchar(v);
        p[1] = uchar(v >> 8);
        if constexpr (BytesPerSample == 3)
            p[2] = uchar(v >> 16);
        p += BytesPerSample;
    }
    return p;
}

} // namespace

Format formatFor(const std::vector<int32_t> &samples)
{
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    if (low != samples.end() && (*low < digitalLimit(Format::Edf, false) || *high > digitalLimit(Format::Edf, true)))
        return Format::Bdf;
    return Format::Edf;
}

int32_t digitalLimit(Format format, bool maximum)
{
    if (format == Format::Edf)
        return maximum ? 32767 : -32768;
    return maximum ? 8388607 : -8388608;
}

QByteArray monthName(int month)
{
    static const char *const names[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                        "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    return names[std::clamp(month, 1, 12) - 1];
}

QByteArray onsetText(int64_t ms)
{
    return (ms < 0 ? QByteArray("-") : QByteArray("+")) + secondsText(ms < 0 ? -ms : ms);
}

QByteArray durationText(int64_t ms)
{
    return secondsText(std::max<int64_t>(ms, 0));
}

QByteArray headerNumber(double value)
{
    for (int decimals = 6; decimals >= 0; --decimals) {
        QByteArray text = QByteArray::number(value, 'f', decimals);
        if (text.contains('.')) {
            while (text.endsWith('0'))
                text.chop(1);
            if (text.endsWith('.'))
                text.chop(1);
        }
        if (text == "-0")
            text = "0";
        if (text.size() <= 8)
            return text;
    }
    return QByteArray::number(value, 'f', 0).left(8);
}

QByteArray write(const EdfContent &content, const std::function<void(int)> &progress)
{
    const Format format = formatFor(content.samples);
    const bool edf = format == Format::Edf;
    const int bytesPerSample = edf ? 2 : 3;
    const int32_t lowest = digitalLimit(format, false);
    const int32_t highest = digitalLimit(format, true);
    const int rate = content.samplesPerSecond;
    const auto sampleCount = int64_t(content.samples.size());
    const int64_t records = std::max<int64_t>(1, (sampleCount + rate - 1) / rate);
    const int subMs = content.start.valid ? content.start.milliseconds : 0;

    int32_t digitalMin = highest;
    int32_t digitalMax = lowest;
    for (int32_t v : content.samples) {
        const int32_t c = std::clamp(v, lowest, highest);
        digitalMin = std::min(digitalMin, c);
        digitalMax = std::max(digitalMax, c);
    }
    if (content.samples.empty())
        digitalMin = digitalMax = 0;
    if (digitalMin == digitalMax) {
        if (digitalMax < highest)
            ++digitalMax;
        else
            --digitalMin;
    }

    // Annotations: onsets in the file count from the header's whole second.
    std::vector<std::pair<int64_t, QByteArray>> tals;
    tals.reserve(content.annotations.size());
    qsizetype longest = 0;
    qsizetype total = 0;
    for (const EdfAnnotation &a : content.annotations) {
        const int64_t own = std::clamp<int64_t>(a.onsetMs >= 0 ? a.onsetMs / 1000 : 0, 0, records - 1);
        QByteArray bytes = tal(a.onsetMs + subMs, a.durationMs, annotationText(a.text));
        longest = std::max(longest, bytes.size());
        total += bytes.size();
        tals.emplace_back(own, std::move(bytes));
    }
    std::stable_sort(tals.begin(), tals.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<qsizetype> timeKeeping(static_cast<size_t>(records));
    qsizetype longestTimeKeeping = 0;
    for (int64_t r = 0; r < records; ++r) {
        timeKeeping[size_t(r)] = timeKeepingSize(r * 1000 * RecordSeconds + subMs);
        longestTimeKeeping = std::max(longestTimeKeeping, timeKeeping[size_t(r)]);
        total += timeKeeping[size_t(r)];
    }
    // Start from what the fullest record needs at least and grow until everything fits.
    qsizetype capacity = std::max(longestTimeKeeping + longest, (total + records - 1) / records);
    std::vector<int64_t> placed;
    for (;;) {
        capacity = (capacity + bytesPerSample - 1) / bytesPerSample * bytesPerSample;
        placed = placeAnnotations(tals, timeKeeping, capacity);
        if (placed.size() == tals.size())
            break;
        capacity += std::max<qsizetype>(longest, capacity / 4);
    }
    const qsizetype annotationSamples = capacity / bytesPerSample;

    QByteArray header;
    header.reserve(3 * HeaderBlock);
    if (edf)
        field(header, "0", 8);
    else
        header += "\xff" "BIOSEMI";
    field(header, content.patientField.toLatin1(), 80);
    const EdfStart &s = content.start;
    QByteArray recording = "Startdate ";
    recording += s.valid ? twoDigits(s.day) + '-' + monthName(s.month) + '-' + number(s.year)
                         : QByteArray("X");
    if (!content.recordingField.isEmpty())
        recording += ' ' + content.recordingField.toLatin1();
    field(header, recording, 80);
    if (s.valid) {
        const QByteArray yy = s.year > 2084 ? QByteArray("yy") : twoDigits(s.year % 100);
        field(header, twoDigits(s.day) + '.' + twoDigits(s.month) + '.' + yy, 8);
        field(header, twoDigits(s.hour) + '.' + twoDigits(s.minute) + '.' + twoDigits(s.second), 8);
    } else {
        field(header, "01.01.85", 8);
        field(header, "00.00.00", 8);
    }
    field(header, number(3 * HeaderBlock), 8);
    field(header, edf ? "EDF+C" : "BDF+C", 44);
    field(header, number(records), 8);
    field(header, number(RecordSeconds), 8);
    field(header, "2", 4);
    field(header, content.label.toLatin1(), 16);
    field(header, edf ? "EDF Annotations" : "BDF Annotations", 16);
    field(header, QByteArray(), 80);
    field(header, QByteArray(), 80);
    field(header, content.physicalDimension.toLatin1(), 8);
    field(header, QByteArray(), 8);
    field(header, headerNumber(digitalMin * content.physicalPerUnit), 8);
    field(header, "-1", 8);
    field(header, headerNumber(digitalMax * content.physicalPerUnit), 8);
    field(header, "1", 8);
    field(header, number(digitalMin), 8);
    field(header, number(lowest), 8);
    field(header, number(digitalMax), 8);
    field(header, number(highest), 8);
    field(header, QByteArray(), 80);
    field(header, QByteArray(), 80);
    field(header, number(rate * RecordSeconds), 8);
    field(header, number(annotationSamples), 8);
    field(header, QByteArray(), 32);
    field(header, QByteArray(), 32);

    const qsizetype recordBytes = qsizetype(rate) * RecordSeconds * bytesPerSample + capacity;
    const qsizetype headerSize = header.size();
    QByteArray out(headerSize + records * recordBytes, Qt::Uninitialized);
    std::memcpy(out.data(), header.constData(), size_t(headerSize));
    auto *p = reinterpret_cast<uchar *>(out.data()) + headerSize;
    const int32_t fill = content.samples.empty() ? 0 : content.samples.back();
    const int32_t *samples = content.samples.data();
    const int64_t perRecord = int64_t(rate) * RecordSeconds;
    const int64_t step = std::max<int64_t>(1, records / 100);
    size_t next = 0;
    for (int64_t r = 0; r < records; ++r) {
        const int64_t first = r * perRecord;
        const int64_t present = std::clamp<int64_t>(sampleCount - first, 0, perRecord);
        p = edf ? putSamples<2>(p, samples + first, present, lowest, highest)
                : putSamples<3>(p, samples + first, present, lowest, highest);
        for (int64_t k = present; k < perRecord; ++k)
            p = edf ? putSamples<2>(p, &fill, 1, lowest, highest) : putSamples<3>(p, &fill, 1, lowest, highest);
        char *list = reinterpret_cast<char *>(p);
        char *end = putTimeKeeping(list, r * 1000 * RecordSeconds + subMs);
        for (; next < placed.size() && placed[next] == r; ++next) {
            const QByteArray &bytes = tals[next].second;
            std::memcpy(end, bytes.constData(), size_t(bytes.size()));
            end += bytes.size();
        }
        std::memset(end, 0, size_t(capacity - (end - list)));
        p += capacity;
        if (progress && (r % step == 0 || r + 1 == records))
            progress(int((r + 1) * 10000 / records));
    }
    return out;
}

} // namespace EdfWriter

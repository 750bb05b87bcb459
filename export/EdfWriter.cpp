#include "export/EdfWriter.h"

#include <QString>
#include <QSysInfo>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <limits>

namespace EdfWriter {

namespace {

constexpr int RecordSeconds = 1;
constexpr int HeaderBlock = 256;
constexpr qsizetype HeaderSize = 3 * HeaderBlock;
constexpr char TalEnd = '\x14';
constexpr char DurationMark = '\x15';
// Room for an onset or a duration: sign, 20 digits, point and 3 decimals.
constexpr int NumberRoom = 32;
// Samples converted at a time: a fixed count the compiler turns into vector instructions.
constexpr int Block = 16;

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

// Writes the seconds and milliseconds of a ms count at p ("12.5", "0.004", "3"); returns the end.
char *putSeconds(char *p, uint64_t ms)
{
    uint64_t seconds = ms / 1000;
    const auto rest = unsigned(ms % 1000);
    char digits[20];
    int n = 0;
    do {
        digits[n++] = char('0' + seconds % 10);
        seconds /= 10;
    } while (seconds != 0);
    while (n > 0)
        *p++ = digits[--n];
    if (rest != 0) {
        *p++ = '.';
        *p++ = char('0' + rest / 100);
        if (rest % 100 != 0) {
            *p++ = char('0' + rest / 10 % 10);
            if (rest % 10 != 0)
                *p++ = char('0' + rest % 10);
        }
    }
    return p;
}

char *putOnset(char *p, int64_t ms)
{
    *p++ = ms < 0 ? '-' : '+';
    return putSeconds(p, ms < 0 ? 0 - uint64_t(ms) : uint64_t(ms));
}

char *putDuration(char *p, int64_t ms)
{
    return putSeconds(p, uint64_t(std::max<int64_t>(ms, 0)));
}

// Writes the time-keeping annotation of one record ("+12.5\x14\x14\0") at p; returns its end.
char *putTimeKeeping(char *p, int64_t onsetMs)
{
    p = putOnset(p, onsetMs);
    *p++ = TalEnd;
    *p++ = TalEnd;
    *p++ = '\0';
    return p;
}

qsizetype timeKeepingSize(int64_t onsetMs)
{
    char room[NumberRoom + 3];
    return putTimeKeeping(room, onsetMs) - room;
}

// Annotation text keeps no byte that delimits the lists (0, 20, 21) nor other control
// characters, which readers show badly: they become spaces.
char visible(char ch)
{
    return uchar(ch) < 32 || ch == 127 ? ' ' : ch;
}

void appendText(QByteArray &out, const QString &text)
{
    const QChar *u = text.constData();
    const qsizetype n = text.size();
    if (std::all_of(u, u + n, [](QChar ch) { return ch.unicode() < 0x80; })) {
        const qsizetype at = out.size();
        out.resize(at + n);
        char *p = out.data() + at;
        for (qsizetype i = 0; i < n; ++i)
            p[i] = visible(char(u[i].unicode()));
        return;
    }
    QByteArray utf8 = text.toUtf8();
    for (char &ch : utf8)
        ch = visible(ch);
    out += utf8;
}

// The annotations as time-stamped annotation lists, one after the other in bytes, each
// with the data record that covers its onset; in record order, and in the content's order
// within a record.
struct Lists
{
    struct List
    {
        int64_t record;
        qsizetype offset;
        qsizetype size;
    };
    QByteArray bytes;
    std::vector<List> lists;
    qsizetype longest = 0;
};

Lists listsOf(const EdfContent &content, int64_t records, int subMs)
{
    Lists l;
    qsizetype room = 0;
    for (const EdfAnnotation &a : content.annotations)
        room += a.text.size() + 2 * NumberRoom + 3;
    l.bytes.reserve(room);
    l.lists.reserve(content.annotations.size());
    for (const EdfAnnotation &a : content.annotations) {
        const qsizetype offset = l.bytes.size();
        char numbers[2 * NumberRoom + 2];
        char *p = putOnset(numbers, a.onsetMs + subMs);
        if (a.durationMs >= 0) {
            *p++ = DurationMark;
            p = putDuration(p, a.durationMs);
        }
        *p++ = TalEnd;
        l.bytes.append(numbers, p - numbers);
        appendText(l.bytes, a.text);
        l.bytes.append(TalEnd);
        l.bytes.append('\0');
        // Onsets in the file count from the header's whole second.
        const int64_t own = std::clamp<int64_t>(a.onsetMs >= 0 ? a.onsetMs / 1000 : 0, 0, records - 1);
        l.lists.push_back({own, offset, l.bytes.size() - offset});
        l.longest = std::max(l.longest, l.bytes.size() - offset);
    }
    std::stable_sort(l.lists.begin(), l.lists.end(),
                     [](const Lists::List &a, const Lists::List &b) { return a.record < b.record; });
    return l;
}

// The record of every annotation: its own one or, when that record cannot take it within
// capacity bytes, the next one that can. Only the sizes are needed: used holds the bytes
// each record's list starts with (its time-keeping annotation). Empty when the
// annotations do not fit.
std::vector<int64_t> placeAnnotations(const Lists &l, std::vector<qsizetype> used, qsizetype capacity)
{
    const auto records = int64_t(used.size());
    std::vector<int64_t> placed;
    placed.reserve(l.lists.size());
    int64_t record = 0;
    for (const Lists::List &list : l.lists) {
        record = std::max(record, list.record);
        while (record < records && used[size_t(record)] + list.size > capacity)
            ++record;
        if (record == records)
            return {};
        used[size_t(record)] += list.size;
        placed.push_back(record);
    }
    return placed;
}

// The samples of a content as native 32-bit values, not necessarily aligned, and the
// limits each is clamped to as it is read.
class Samples
{
public:
    explicit Samples(const EdfContent &content)
    {
        const EdfStoredSamples &stored = content.stored;
        const qsizetype available =
            stored.offset >= 0 && stored.offset <= stored.bytes.size() ? (stored.bytes.size() - stored.offset) / 4 : 0;
        count = std::clamp<qsizetype>(stored.count, 0, available);
        if (count == 0) {
            data = reinterpret_cast<const uchar *>(content.samples.data());
            count = qsizetype(content.samples.size());
            return;
        }
        lowest = stored.lowest;
        highest = stored.highest;
        const auto *bytes = reinterpret_cast<const uchar *>(stored.bytes.constData()) + stored.offset;
        if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
            data = bytes;
        } else {
            m_native.resize(size_t(count));
            for (qsizetype k = 0; k < count; ++k)
                m_native[size_t(k)] = qFromLittleEndian<int32_t>(bytes + 4 * k);
            data = reinterpret_cast<const uchar *>(m_native.data());
        }
    }
    Samples(const Samples &) = delete;
    Samples &operator=(const Samples &) = delete;

    int32_t clamped(int32_t v) const { return std::min(std::max(v, lowest), highest); }
    // True when no value from low to high is clamped.
    bool holds(int32_t low, int32_t high) const { return lowest <= low && highest >= high; }
    int32_t at(qsizetype k) const
    {
        int32_t v;
        std::memcpy(&v, data + 4 * k, sizeof v);
        return clamped(v);
    }

    const uchar *data = nullptr;
    qsizetype count = 0;
    int32_t lowest = std::numeric_limits<int32_t>::min();
    int32_t highest = std::numeric_limits<int32_t>::max();

private:
    std::vector<int32_t> m_native; // the stored values on a big-endian machine
};

// Smallest and largest value seen; low > high while none is.
struct Range
{
    int32_t low = std::numeric_limits<int32_t>::max();
    int32_t high = std::numeric_limits<int32_t>::min();

    void include(int32_t v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    // Merges the smallest and largest of the lanes of a block.
    void merge(const int32_t (&lows)[Block], const int32_t (&highs)[Block])
    {
        low = std::min(low, *std::min_element(std::begin(lows), std::end(lows)));
        high = std::max(high, *std::max_element(std::begin(highs), std::end(highs)));
    }
    bool empty() const { return low > high; }
    bool fits(Format format) const
    {
        return empty() || (low >= digitalLimit(format, false) && high <= digitalLimit(format, true));
    }
};

// Writes one digital value, little-endian; returns the end.
template <int BytesPerSample>
uchar *putValue(uchar *to, int32_t value)
{
    const auto d = uint32_t(value);
    to[0] = uchar(d);
    to[1] = uchar(d >> 8);
    if constexpr (BytesPerSample == 3)
        to[2] = uchar(d >> 16);
    return to + BytesPerSample;
}

// Converts count samples from first on into the format's little-endian bytes at to,
// clamped to [lowest, highest], and widens seen with them as their store clamps them.
// Returns the end.
template <int BytesPerSample>
uchar *putSamples(uchar *to, const Samples &s, qsizetype first, qsizetype count, int32_t lowest, int32_t highest,
                  Range &seen)
{
    int32_t low[Block];
    int32_t high[Block];
    std::fill(std::begin(low), std::end(low), seen.low);
    std::fill(std::begin(high), std::end(high), seen.high);
    const uchar *from = s.data + 4 * first;
    // A layout in 16 bits ends at a value that does not fit them, so its blocks take the
    // values as read: any that a clamp would change, to the format or to a store that holds
    // the whole 16-bit range, ends it anyway.
    const bool blocks = BytesPerSample == 3 || s.holds(digitalLimit(Format::Edf, false), digitalLimit(Format::Edf, true));
    qsizetype k = 0;
    for (; blocks && k + Block <= count; k += Block) {
        int32_t v[Block];
        std::memcpy(v, from + 4 * k, sizeof v);
        if constexpr (BytesPerSample == 2) {
            int16_t words[Block];
            for (int i = 0; i < Block; ++i) {
                low[i] = std::min(low[i], v[i]);
                high[i] = std::max(high[i], v[i]);
                words[i] = int16_t(v[i]);
            }
            qToLittleEndian<int16_t>(words, Block, to);
            to += sizeof words;
        } else {
            for (int i = 0; i < Block; ++i) {
                const int32_t c = s.clamped(v[i]);
                low[i] = std::min(low[i], c);
                high[i] = std::max(high[i], c);
                to = putValue<3>(to, std::min(std::max(c, lowest), highest));
            }
        }
    }
    seen.merge(low, high);
    for (; k < count; ++k) {
        const int32_t c = s.at(first + k);
        seen.include(c);
        to = putValue<BytesPerSample>(to, std::min(std::max(c, lowest), highest));
    }
    return to;
}

// Reports progress only forward: a layout begun again does not move it back.
class Progress
{
public:
    explicit Progress(const std::function<void(int)> &report) : m_report(report) {}
    void operator()(int position)
    {
        if (m_report && position > m_last) {
            m_last = position;
            m_report(position);
        }
    }

private:
    const std::function<void(int)> &m_report;
    int m_last = -1;
};

// What the layout of the data records needs besides the samples.
struct Plan
{
    int rate = 0;
    int subMs = 0;
    int64_t records = 0;
    Lists lists;
    std::vector<qsizetype> timeKeeping; // bytes of each record's time-keeping annotation
    qsizetype longestTimeKeeping = 0;
    qsizetype total = 0; // bytes of every list
};

// Bytes of annotation room in every record for a format, and the record of each list.
qsizetype annotationRoom(const Plan &plan, int bytesPerSample, std::vector<int64_t> &placed)
{
    // Start from what the fullest record needs at least and grow until everything fits.
    qsizetype capacity = std::max(plan.longestTimeKeeping + plan.lists.longest, (plan.total + plan.records - 1) / plan.records);
    for (;;) {
        capacity = (capacity + bytesPerSample - 1) / bytesPerSample * bytesPerSample;
        placed = placeAnnotations(plan.lists, plan.timeKeeping, capacity);
        if (placed.size() == plan.lists.lists.size())
            return capacity;
        capacity += std::max<qsizetype>(plan.lists.longest, capacity / 4);
    }
}

// The file with the header's room left uninitialised, and the range of the samples; an
// empty array when a sample does not fit the format.
template <int BytesPerSample>
QByteArray layOutRecords(const Plan &plan, const Samples &s, qsizetype capacity, const std::vector<int64_t> &placed,
                         Range &seen, Progress &progress)
{
    constexpr Format format = BytesPerSample == 2 ? Format::Edf : Format::Bdf;
    const int32_t lowest = digitalLimit(format, false);
    const int32_t highest = digitalLimit(format, true);
    const int64_t perRecord = int64_t(plan.rate) * RecordSeconds;
    const qsizetype recordBytes = perRecord * BytesPerSample + capacity;
    QByteArray out(HeaderSize + plan.records * recordBytes, Qt::Uninitialized);
    auto *p = reinterpret_cast<uchar *>(out.data()) + HeaderSize;
    const int32_t fill = s.count == 0 ? 0 : s.at(s.count - 1);
    const char *lists = plan.lists.bytes.constData();
    const int64_t step = std::max<int64_t>(1, plan.records / 100);
    size_t next = 0;
    for (int64_t r = 0; r < plan.records; ++r) {
        const int64_t first = r * perRecord;
        const int64_t present = std::clamp<int64_t>(s.count - first, 0, perRecord);
        p = putSamples<BytesPerSample>(p, s, first, present, lowest, highest, seen);
        if (format == Format::Edf && !seen.fits(format))
            return {};
        for (int64_t k = present; k < perRecord; ++k)
            p = putValue<BytesPerSample>(p, std::min(std::max(fill, lowest), highest));
        char *list = reinterpret_cast<char *>(p);
        char *end = putTimeKeeping(list, r * 1000 * RecordSeconds + plan.subMs);
        for (; next < placed.size() && placed[next] == r; ++next) {
            const Lists::List &l = plan.lists.lists[next];
            std::memcpy(end, lists + l.offset, size_t(l.size));
            end += l.size;
        }
        std::memset(end, 0, size_t(capacity - (end - list)));
        p += capacity;
        if (r % step == 0 || r + 1 == plan.records)
            progress(int((r + 1) * 10000 / plan.records));
    }
    return out;
}

} // namespace

qsizetype sampleCount(const EdfContent &content)
{
    return Samples(content).count;
}

Format formatFor(const EdfContent &content)
{
    const Samples s(content);
    int32_t low[Block];
    int32_t high[Block];
    std::fill(std::begin(low), std::end(low), std::numeric_limits<int32_t>::max());
    std::fill(std::begin(high), std::end(high), std::numeric_limits<int32_t>::min());
    qsizetype k = 0;
    for (; k + Block <= s.count; k += Block) {
        int32_t v[Block];
        std::memcpy(v, s.data + 4 * k, sizeof v);
        for (int i = 0; i < Block; ++i) {
            const int32_t c = s.clamped(v[i]);
            low[i] = std::min(low[i], c);
            high[i] = std::max(high[i], c);
        }
    }
    Range seen;
    seen.merge(low, high);
    for (; k < s.count; ++k)
        seen.include(s.at(k));
    return seen.fits(Format::Edf) ? Format::Edf : Format::Bdf;
}

Format formatOf(const QByteArray &file)
{
    return file.startsWith('\xff') ? Format::Bdf : Format::Edf;
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
    char text[NumberRoom];
    return QByteArray(text, putOnset(text, ms) - text);
}

QByteArray durationText(int64_t ms)
{
    char text[NumberRoom];
    return QByteArray(text, putDuration(text, ms) - text);
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

QByteArray write(const EdfContent &content, const std::function<void(int)> &report)
{
    const Samples samples(content);
    Plan plan;
    plan.rate = content.samplesPerSecond;
    plan.subMs = content.start.valid ? content.start.milliseconds : 0;
    plan.records = std::max<int64_t>(1, (samples.count + plan.rate - 1) / plan.rate);
    plan.lists = listsOf(content, plan.records, plan.subMs);
    plan.timeKeeping.resize(size_t(plan.records));
    plan.total = plan.lists.bytes.size();
    for (int64_t r = 0; r < plan.records; ++r) {
        const qsizetype size = timeKeepingSize(r * 1000 * RecordSeconds + plan.subMs);
        plan.timeKeeping[size_t(r)] = size;
        plan.longestTimeKeeping = std::max(plan.longestTimeKeeping, size);
        plan.total += size;
    }

    // Laid out as EDF in one pass over the samples, which finds their range on the way;
    // again as BDF when a sample needs more than 16 bits.
    Progress progress(report);
    Format format = Format::Edf;
    std::vector<int64_t> placed;
    qsizetype capacity = annotationRoom(plan, 2, placed);
    Range seen;
    QByteArray out = layOutRecords<2>(plan, samples, capacity, placed, seen, progress);
    if (out.isEmpty()) {
        format = Format::Bdf;
        capacity = annotationRoom(plan, 3, placed);
        seen = Range();
        out = layOutRecords<3>(plan, samples, capacity, placed, seen, progress);
    }
    const bool edf = format == Format::Edf;
    const int bytesPerSample = edf ? 2 : 3;
    const int32_t lowest = digitalLimit(format, false);
    const int32_t highest = digitalLimit(format, true);
    int32_t digitalMin = seen.empty() ? 0 : std::clamp(seen.low, lowest, highest);
    int32_t digitalMax = seen.empty() ? 0 : std::clamp(seen.high, lowest, highest);
    if (digitalMin == digitalMax) {
        if (digitalMax < highest)
            ++digitalMax;
        else
            --digitalMin;
    }

    QByteArray header;
    header.reserve(HeaderSize);
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
    field(header, number(HeaderSize), 8);
    field(header, edf ? "EDF+C" : "BDF+C", 44);
    field(header, number(plan.records), 8);
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
    field(header, number(plan.rate * RecordSeconds), 8);
    field(header, number(capacity / bytesPerSample), 8);
    field(header, QByteArray(), 32);
    field(header, QByteArray(), 32);
    Q_ASSERT(header.size() == HeaderSize);
    std::memcpy(out.data(), header.constData(), size_t(HeaderSize));
    return out;
}

} // namespace EdfWriter

#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <cstdint>

struct CaseRecord;

// Turns the ECG data of a case (the case time of the first sample, then one raw 32-bit
// sample per 4 ms, all little-endian) into the 8-bit samples the pictures draw, as its
// bytes arrive: each feed() converts the whole samples that came in since the last one.
class EcgSampleDecoder
{
public:
    // For ECG data of dataBytes bytes; the 8-bit samples are allocated at once.
    explicit EcgSampleDecoder(qsizetype dataBytes);

    // The first `available` bytes of the data are in (a count that never falls).
    void feed(const char *data, qsizetype available);
    // Every sample has been fed; ECG data shorter than its first-sample time counts as
    // complete and has no samples.
    bool complete() const { return m_done == m_samples.size(); }
    // Whether the data holds a first-sample time (at least 4 bytes).
    bool hasSamples() const { return m_hasStart; }

    int32_t startMs() const { return m_startMs; }
    // ecgStartMs + 4 * sample count, wrapping around as two's-complement.
    int32_t endMs() const;
    // Gives the case its samples, first-sample time and end; ECG data without a first-sample
    // time leaves it without samples (times 0) and ecgAllocated as it was.
    void storeInto(CaseRecord &c);

    // A raw device sample as stored: v * 0.26315789 truncated toward zero, clamped to
    // -124..125, plus 125; so 1..250 with 125 the zero line.
    static uint8_t stored(int32_t raw);

private:
    QByteArray m_samples;
    qsizetype m_done = 0; // samples converted
    bool m_hasStart = false;
    bool m_startRead = false;
    int32_t m_startMs = 0;
};

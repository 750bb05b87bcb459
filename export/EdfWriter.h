#pragma once

#include "export/EdfContent.h"

#include <QByteArray>
#include <functional>

// Lays out an EDF+ or BDF+ file: continuous (EDF+C), one signal and the annotation signal,
// data records of one second. The signal's digital and physical limits are the smallest
// and largest sample (widened by one unit for a flat signal); the last record is filled
// up with the last sample.
//
// Every annotation is kept whole. Each goes into the data record that covers its onset
// (the first record for onsets before the first sample, the last one for onsets after
// the last sample), or into a later record when that one is full; the annotation signal
// gets as many bytes per record as the fullest record then needs.
namespace EdfWriter {

enum class Format { Edf, Bdf };

// Number of samples of a content (those stored in place when it has any).
qsizetype sampleCount(const EdfContent &content);
// EDF when every sample fits 16 bits, else BDF (24 bits).
Format formatFor(const EdfContent &content);
// The format of a file made by write (a BDF file starts with byte 255).
Format formatOf(const QByteArray &file);
// Smallest and largest digital value of a format.
int32_t digitalLimit(Format format, bool maximum);

// The whole file. Samples outside the format's range are clamped to it. progress, when
// given, is called with 0..10000 while the data records are laid out.
QByteArray write(const EdfContent &content, const std::function<void(int)> &progress = {});

// An onset or duration of a time-stamped annotation list: sign (for onsets), whole
// seconds, and the milliseconds without trailing zeros ("+12.5", "-2", "+0.004").
QByteArray onsetText(int64_t ms);
QByteArray durationText(int64_t ms);
// "JAN" .. "DEC", as EDF+ dates write the month (month 1..12, clamped).
QByteArray monthName(int month);
// A number of an 8-character header field, with as many decimals as fit ("-6494.73").
QByteArray headerNumber(double value);

} // namespace EdfWriter

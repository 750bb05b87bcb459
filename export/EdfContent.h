#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <limits>
#include <vector>

// One annotation of an EDF+ file. Times are ms relative to the first sample; an onset
// before it is negative. durationMs < 0: the annotation has no duration.
struct EdfAnnotation
{
    int64_t onsetMs = 0;
    int64_t durationMs = -1;
    QString text; // UTF-8 in the file; control characters become spaces
};

// Calendar start of the first sample, on the clock the case is shown in.
struct EdfStart
{
    bool valid = false; // false: "Startdate X" and the placeholder date 01.01.85 00.00.00
    int year = 1985;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0; // 0..999, carried by the first data record's time-keeping annotation
};

// Digital values read where they are stored: count little-endian 32-bit words from offset
// in bytes, each clamped to [lowest, highest]. The bytes are shared, not copied.
struct EdfStoredSamples
{
    QByteArray bytes;
    qsizetype offset = 0;
    qsizetype count = 0;
    int32_t lowest = std::numeric_limits<int32_t>::min();
    int32_t highest = std::numeric_limits<int32_t>::max();
};

// What an EDF+ (or BDF+) file of one signal holds, before any layout.
struct EdfContent
{
    QString patientField;   // local patient identification, EDF+ subfields, US-ASCII
    QString recordingField; // local recording identification without its "Startdate ..." subfield
    EdfStart start;
    QString label = QStringLiteral("ECG");
    QString physicalDimension = QStringLiteral("uV");
    double physicalPerUnit = 1.0; // physical value of one digital unit
    int samplesPerSecond = 250;
    std::vector<int32_t> samples; // digital values as recorded
    EdfStoredSamples stored;      // instead of samples when it holds any (a case's ECG, not copied)
    std::vector<EdfAnnotation> annotations;
};

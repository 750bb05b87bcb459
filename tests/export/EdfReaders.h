#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// What an independent reader found in an EDF+ / BDF+ file. Times are in ms; onsets count
// from the header's start time (the whole second), as the file's annotation lists do.
struct ReadBack
{
    struct Annotation {
        int64_t onsetMs = 0;
        int64_t durationMs = -1; // -1: none
        QString text;
    };

    bool ok = false;
    QString error;              // why the reader refused the file, or why it could not run
    bool bdf = false;
    QString start;              // "YYYY-MM-DD HH:MM:SS"
    int64_t subsecondMs = 0;    // start of the first data record after that second
    int64_t sampleCount = 0;
    double samplingRate = 0;
    QString physicalDimension;
    std::vector<double> physical; // every sample, in the physical dimension
    double physicalStep = 0;      // physical value of one digital step
    QString patientCode, sex, birthdate, patientName, equipment;
    std::vector<Annotation> annotations;
};

// EDFlib's reader, linked into this program; ok false with a reason when it was not found
// at build time.
bool edflibAvailable();
ReadBack readWithEdflib(const QString &path);

// biosig's save2gdf (its -f=ASCII dump: header, events and samples), run as a program;
// ok false with a reason when it is not installed.
bool biosigAvailable();
ReadBack readWithBiosig(const QString &path);
// The number of events save2gdf -JSON lists; -1 with error when its output is no JSON.
int biosigJsonEventCount(const QString &path, QString &error);

#pragma once

#include "tools/DeviceFolderWriter.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cstdint>

// What kind of rescue to simulate. The same options give the same bytes.
struct SimulationOptions
{
    DeviceFiles::Model model = DeviceFiles::Model::Q26;
    double minutes = 5.0;          // power-on to power-off; 0 < minutes <= MaxMinutes
    uint32_t seed = 1;
    bool temperature = true;       // write the Temp file
    bool audio = true;             // write "Audio Record.bin"
    // Local power-on time as the ECG header stores it; years 2009..2255 (the header keeps
    // year - 2000 in a byte, and the reader takes 0..8 for 2016..2024).
    QDateTime start = QDateTime(QDate(2021, 3, 7), QTime(9, 5, 0));
    // The sound covers at most this many minutes from its start (60 min = 57.6 MB):
    // longer recordings keep their full ECG and records but a capped sound.
    int audioCapMinutes = 60;

    static constexpr double MaxMinutes = 24 * 60;
};

// A plausible rescue from power-on to power-off as the device leaves it on its card: the
// five MIF files of the model, "CPR Feedback.bin" and, unless switched off, the Temp file
// and "Audio Record.bin". Generation is linear in the length; a 10-hour recording without
// sound needs about 100 MB while it is made.
DeviceFiles::DeviceFolder simulateRescue(const SimulationOptions &options);

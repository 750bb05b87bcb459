#pragma once

#include "cpr/CprReviewSettings.h"
#include "tools/CommandArgumentParser.h"
#include "tools/ZoneChoice.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>

// The arguments of "ravelin-cli render", checked.
struct RenderArguments
{
    using Outcome = ArgumentOutcome;
    // The ECG picture to draw: the entire ECG or one of the enlarged ECG's views.
    enum class View { Entire, EightSecond, SixSecond, Large };

    Outcome outcome = Outcome::Error;
    QString archive;              // the ".aed" file to open
    View view = View::Entire;
    int64_t atSeconds = 0;        // review position, whole seconds from the case start
    QSize size{1600, 900};        // the ECG window's client size, pixels
    int zoneRow = DeviceClockZone; // time-zone row, DeviceClockZone or LocalZone
    CprDepthUnit depthUnit = CprDepthUnit::Inches; // of the enlarged ECG's CPR panel
    QString languagePack;         // a string.txt to take the texts from; "" for the built-in pack
    QString output;               // the PNG file to write
    bool overwrite = false;       // replace a file that is already at output
    QString message;              // the help text, or what is wrong with the arguments

    // arguments[0] is the command's name ("ravelin-cli render"), the rest its own.
    static RenderArguments parse(const QStringList &arguments);

    // Largest review position: its case time in ms must fit 32 bits.
    static constexpr int64_t MaxSeconds = 2147483;
    // Largest picture side, in pixels: a picture of 4000 x 4000 alone takes 64 MB.
    static constexpr int MaxSide = 4000;
};

inline constexpr char RenderSynopsis[] =
    "render ARCHIVE --view entire|8s|6s|large --at SECONDS [--size WxH] [--zone N|local] [--depth-unit in|cm] [--lang-pack FILE] -o FILE.png"
    " [--overwrite]";

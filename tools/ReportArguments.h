#pragma once

#include "cpr/CprReviewSettings.h"
#include "tools/CommandArgumentParser.h"
#include "tools/ZoneChoice.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <utility>
#include <vector>

// The arguments of "ravelin-cli log" and "ravelin-cli print", checked.
struct ReportArguments
{
    using Outcome = ArgumentOutcome;
    enum class Kind { Log, Print };

    Outcome outcome = Outcome::Error;
    QString archive;              // the ".aed" file to open
    // Print: the segments to select, in case ms, in the order given.
    std::vector<std::pair<int32_t, int32_t>> segments;
    int zoneRow = DeviceClockZone; // time-zone row, DeviceClockZone or LocalZone
    CprDepthUnit depthUnit = CprDepthUnit::Inches; // Log: of the CPR quality section
    QString languagePack;         // a string.txt to take the texts from; "" for the built-in pack
    QString output;               // the HTML or PDF file to write
    bool overwrite = false;       // replace a file that is already at output
    // Print: the paper (one of paperNames(), as written there) and its orientation.
    QString paper = QStringLiteral("A4");
    bool landscape = false;
    QString message;              // the help text, or what is wrong with the arguments

    // arguments[0] is the command's name ("ravelin-cli log"), the rest its own.
    static ReportArguments parse(const QStringList &arguments, Kind kind);
    // The papers --paper takes.
    static QStringList paperNames();
};

inline constexpr char LogSynopsis[] = "log ARCHIVE [--zone N|local] [--depth-unit in|cm] [--lang-pack FILE] -o FILE.html [--overwrite]";
inline constexpr char PrintSynopsis[] =
    "print ARCHIVE --segment START_MS-END_MS [--segment ...] [--zone N|local] [--lang-pack FILE] [--paper NAME]"
    " [--landscape] -o FILE.pdf [--overwrite]";

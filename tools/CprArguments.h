#pragma once

#include "cpr/CprReviewSettings.h"
#include "tools/CommandArgumentParser.h"
#include "tools/ZoneChoice.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// The arguments of "ravelin-cli cpr", checked.
struct CprArguments
{
    using Outcome = ArgumentOutcome;
    // JSON: every measure; CSV: the table of minutes.
    enum class Format { Json, Csv };
    // The CSV's table: the minutes, the pauses with their causes, or the shocks' steps.
    enum class Table { Minutes, Pauses, Shocks };

    Outcome outcome = Outcome::Error;
    QString archive;                 // the ".aed" file to open
    int zoneRow = DeviceClockZone;   // time-zone row, DeviceClockZone or LocalZone
    int32_t pauseThresholdMs = 2000; // a gap between compressions of this or more is a pause
    Format format = Format::Json;
    Table table = Table::Minutes;
    QString pdfPath;                 // --pdf: write the printed report there instead; "" for none
    bool overwrite = false;          // replace a file that is already at pdfPath
    bool anonymize = false;          // the PDF without the start and the serial number
    bool deviceReading = false;      // pauses explained by the device's events only, not the reviewer's causes
    CprDepthUnit depthUnit = CprDepthUnit::Inches; // of the minutes' CSV and the PDF
    QString languagePack;            // a string.txt to take the texts from; "" for the built-in pack
    QString message;                 // the help text, or what is wrong with the arguments

    // arguments[0] is the command's name ("ravelin-cli cpr"), the rest its own.
    static CprArguments parse(const QStringList &arguments);
};

inline constexpr char CprSynopsis[] =
    "cpr ARCHIVE [--zone N|local] [--pause-threshold MS] [--format json|csv [--table minutes|pauses|shocks]] [--pdf FILE [--overwrite]] [--anonymize]"
    " [--device-reading] [--depth-unit in|cm] [--lang-pack FILE]";

#pragma once

#include "cpr/CprReviewSettings.h"
#include "tools/CommandArgumentParser.h"
#include "tools/ZoneChoice.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// The arguments of the commands that open one archive and report on its case
// ("ravelin-cli events", "ravelin-cli info"), checked.
struct ArchiveCommandArguments
{
    using Outcome = ArgumentOutcome;

    Outcome outcome = Outcome::Error;
    QString archive;        // the ".aed" file to open
    int zoneRow = DeviceClockZone; // time-zone row, DeviceClockZone or LocalZone
    int32_t deviceModel = 0; // ModelQ21, ModelQ25, 26 for Q26, or 0 (none, as after start-up)
    QString languagePack;   // a string.txt to take the texts from; "" for the built-in pack
    QString message;        // the help text, or what is wrong with the arguments

    // arguments[0] is the command's name ("ravelin-cli events"), the rest its own;
    // synopsis and description make the help text.
    static ArchiveCommandArguments parse(const QStringList &arguments, const char *synopsis, const QString &description);
};

// --zone N | local: the time-zone row of the Open dialog, or the computer's zone, shared by
// every command that opens an archive. Without it a case keeps its device's own clock, so
// the output is the same on every computer.
QCommandLineOption zoneOption();
// Reads zone into zoneRow (left as is when unset): a row, or LocalZone for "local"; false
// with message when it is neither.
bool readZoneOption(const CommandArgumentParser &parser, const QCommandLineOption &zone, int &zoneRow,
                    QString &message);

// --depth-unit in|cm: the unit compression depths are written in by the commands that show
// them. The commands read no user's settings, so without it depths stay in inches and the
// output is the same for every user.
QCommandLineOption depthUnitOption();
// Reads depthUnit into unit (left as is when unset); false with message when it is neither.
bool readDepthUnitOption(const CommandArgumentParser &parser, const QCommandLineOption &depthUnit, CprDepthUnit &unit,
                         QString &message);
// The value of --depth-unit ("in" or "cm", any case) into unit; false with message when it is neither.
bool parseDepthUnit(const QString &value, CprDepthUnit &unit, QString &message);

inline constexpr char EventsSynopsis[] = "events ARCHIVE [--zone N|local] [--device-model Q21|Q25|Q26] [--lang-pack FILE]";
inline constexpr char InfoSynopsis[] = "info ARCHIVE [--zone N|local] [--device-model Q21|Q25|Q26] [--lang-pack FILE]";

#pragma once

#include "export/CaseExport.h"
#include "tools/CommandArgumentParser.h"
#include "tools/ZoneChoice.h"

#include <QString>
#include <QStringList>

// The arguments of "ravelin-cli export", checked: exactly one of the outputs.
struct ExportArguments
{
    using Outcome = ArgumentOutcome;

    Outcome outcome = Outcome::Error;
    QString archive;          // the ".aed" file to open
    int zoneRow = DeviceClockZone; // time-zone row, DeviceClockZone or LocalZone
    ExportKind kind = ExportKind::Edf;
    bool wav = false;         // --wav: the case's sound, as the WAV the program makes of it (kind unused)
    QString output;           // the file to write
    bool overwrite = false;   // replace a file that is already at the output
    ExportOptions options;    // --anonymize (not with --wav), --with-compressions (EDF+ only)
    QString languagePack;     // a string.txt to take the texts from; "" for the built-in pack
    QString message;          // the help text, or what is wrong with the arguments

    // arguments[0] is the command's name ("ravelin-cli export"), the rest its own.
    static ExportArguments parse(const QStringList &arguments);
};

inline constexpr char ExportSynopsis[] =
    "export ARCHIVE [--zone N|local] (--edf FILE [--with-compressions] | --events-csv FILE | --compressions-csv FILE"
    " | --pauses-csv FILE | --per-minute-csv FILE | --wav FILE) [--anonymize] [--overwrite] [--lang-pack FILE]";

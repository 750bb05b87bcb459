#pragma once

#include "tools/CommandArgumentParser.h"

#include <QString>
#include <QStringList>

// The arguments of "ravelin-cli import", checked.
struct ImportArguments
{
    using Outcome = ArgumentOutcome;

    Outcome outcome = Outcome::Error;
    QString folder;        // the device folder (MIF files)
    QString serialNumber;  // the AED serial number, as typed in the Open dialog
    QString output;        // the archive to write; "" for the automatic name in folder
    bool overwrite = false; // replace an archive that is already at the target
    bool erase = false;    // erase the device files once the archive has been read back
    QString languagePack;  // a string.txt to take the texts from; "" for the built-in pack
    QString message;       // the help text, or what is wrong with the arguments

    // arguments[0] is the command's name ("ravelin-cli import"), the rest its own.
    static ImportArguments parse(const QStringList &arguments);
};

inline constexpr char ImportSynopsis[] = "import FOLDER --serial SN [--out FILE] [--overwrite] [--erase] [--lang-pack FILE]";

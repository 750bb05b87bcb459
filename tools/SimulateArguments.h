#pragma once

#include "tools/CommandArgumentParser.h"

#include "tools/Simulator.h"

#include <QString>
#include <QStringList>

// The arguments of "ravelin-cli simulate", checked.
struct SimulateArguments
{
    using Outcome = ArgumentOutcome;

    Outcome outcome = Outcome::Error;
    QString folder;              // where the device files go
    SimulationOptions options;
    QString message;             // the help text, or what is wrong with the arguments

    // arguments[0] is the command's name ("ravelin-cli simulate"), the rest its own.
    static SimulateArguments parse(const QStringList &arguments);
};

inline constexpr char SimulateSynopsis[] =
    "simulate FOLDER [--model Q21|Q25|Q26] [--minutes M] [--seed S] [--no-temp] [--no-audio] [--start DATE-TIME]";

#include "tools/SimulateArguments.h"

#include <cmath>

namespace {

SimulateArguments failure(const QString &message)
{
    SimulateArguments a;
    a.outcome = SimulateArguments::Outcome::Error;
    a.message = message;
    return a;
}

} // namespace

SimulateArguments SimulateArguments::parse(const QStringList &arguments)
{
    const QCommandLineOption model(QStringLiteral("model"), QStringLiteral("Device model: Q21, Q25 or Q26 (default Q26)."),
                                   QStringLiteral("model"), QStringLiteral("Q26"));
    const QCommandLineOption minutes(QStringLiteral("minutes"),
                                     QStringLiteral("Power-on to power-off, in minutes (default 5, at most 1440)."),
                                     QStringLiteral("M"), QStringLiteral("5"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the rescue: 0 to 4294967295 (default 1)."),
                                  QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption noTemp(QStringLiteral("no-temp"), QStringLiteral("Writes no Temp file."));
    const QCommandLineOption noAudio(QStringLiteral("no-audio"), QStringLiteral("Writes no \"Audio Record.bin\"."));
    const QCommandLineOption start(QStringLiteral("start"),
                                   QStringLiteral("Local power-on time, YYYY-MM-DDTHH:MM:SS (default 2021-03-07T09:05:00)."),
                                   QStringLiteral("DATE-TIME"));
    CommandArgumentParser parser({model, minutes, seed, noTemp, noAudio, start}, QStringLiteral("FOLDER"),
                                 QStringLiteral("Folder for the device files (made when missing)."));

    SimulateArguments a;
    a.outcome = parser.parse(arguments, SimulateSynopsis,
                             QStringLiteral("Writes the device folder of a simulated rescue: the five MIF files of the model,"
                                            "\n\"CPR Feedback.bin\" and \"Audio Record.bin\". The same arguments give the same bytes."
                                            "\nThe sound covers at most the first 60 minutes of a longer recording.\n\n"),
                             a.folder, a.message);
    if (a.outcome != Outcome::Run)
        return a;

    const QString modelName = parser.value(model).toUpper();
    if (modelName == QLatin1String("Q21"))
        a.options.model = DeviceFiles::Model::Q21;
    else if (modelName == QLatin1String("Q25"))
        a.options.model = DeviceFiles::Model::Q25;
    else if (modelName == QLatin1String("Q26"))
        a.options.model = DeviceFiles::Model::Q26;
    else
        return failure(QStringLiteral("--model must be Q21, Q25 or Q26, not \"%1\"").arg(parser.value(model)));

    bool ok = false;
    a.options.minutes = parser.value(minutes).toDouble(&ok);
    if (!ok || !std::isfinite(a.options.minutes) || a.options.minutes <= 0.0
        || a.options.minutes > SimulationOptions::MaxMinutes)
        return failure(QStringLiteral("--minutes must be a number above 0 and at most %1, not \"%2\"")
                           .arg(SimulationOptions::MaxMinutes)
                           .arg(parser.value(minutes)));

    a.options.seed = parser.value(seed).toUInt(&ok);
    if (!ok)
        return failure(QStringLiteral("--seed must be a whole number from 0 to 4294967295, not \"%1\"").arg(parser.value(seed)));

    if (parser.isSet(start)) {
        QString text = parser.value(start);
        text.replace(QLatin1Char(' '), QLatin1Char('T'));
        const QDateTime when = QDateTime::fromString(text, Qt::ISODate);
        if (!when.isValid() || when.date().year() < 2009 || when.date().year() > 2255)
            return failure(QStringLiteral("--start must be a date and time YYYY-MM-DDTHH:MM:SS of the years 2009 to 2255, not \"%1\"")
                               .arg(parser.value(start)));
        a.options.start = when;
    }
    a.options.temperature = !parser.isSet(noTemp);
    a.options.audio = !parser.isSet(noAudio);
    a.outcome = Outcome::Run;
    return a;
}

#include "tools/RenderArguments.h"

#include "tools/ArchiveCommandArguments.h"
#include "tools/CliOutput.h"

#include <QRegularExpression>

namespace {

RenderArguments failure(const QString &message)
{
    RenderArguments a;
    a.outcome = RenderArguments::Outcome::Error;
    a.message = message;
    return a;
}

bool parseView(const QString &name, RenderArguments::View &view)
{
    const QString n = name.toLower();
    if (n == QLatin1String("entire"))
        view = RenderArguments::View::Entire;
    else if (n == QLatin1String("8s"))
        view = RenderArguments::View::EightSecond;
    else if (n == QLatin1String("6s"))
        view = RenderArguments::View::SixSecond;
    else if (n == QLatin1String("large"))
        view = RenderArguments::View::Large;
    else
        return false;
    return true;
}

bool parseSize(const QString &text, QSize &size)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    const int w = m.captured(1).toInt();
    const int h = m.captured(2).toInt();
    if (w < 1 || h < 1 || w > RenderArguments::MaxSide || h > RenderArguments::MaxSide)
        return false;
    size = QSize(w, h);
    return true;
}

} // namespace

RenderArguments RenderArguments::parse(const QStringList &arguments)
{
    const QCommandLineOption view(QStringLiteral("view"),
                                  QStringLiteral("entire (five rows of 30 s), 8s, 6s or large (2 s): the picture to draw."),
                                  QStringLiteral("view"));
    const QCommandLineOption at(QStringLiteral("at"), QStringLiteral("Review position, whole seconds from the case start."),
                                QStringLiteral("SECONDS"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Size of the ECG window in pixels (default 1600x900)."),
                                  QStringLiteral("WxH"), QStringLiteral("1600x900"));
    const QCommandLineOption zone = zoneOption();
    const QCommandLineOption depthUnit = depthUnitOption();
    const QCommandLineOption pack = languagePackOption();
    const QCommandLineOption output(QStringLiteral("o"), QStringLiteral("The PNG file to write."),
                                    QStringLiteral("FILE.png"));
    const QCommandLineOption overwrite = overwriteOption();
    CommandArgumentParser parser({view, at, size, zone, depthUnit, pack, output, overwrite}, QStringLiteral("ARCHIVE"),
                                 QStringLiteral("The archive (.aed) to open."));

    RenderArguments a;
    a.outcome = parser.parse(arguments, RenderSynopsis,
                             QStringLiteral("Opens ARCHIVE as \"Load AED File\" does and draws the ECG picture the window"
                                            "\nshows at that size and review position.\n\n"),
                             a.archive, a.message);
    if (a.outcome != Outcome::Run)
        return a;

    if (!parser.isSet(view))
        return failure(QStringLiteral("no --view given"));
    if (!parseView(parser.value(view), a.view))
        return failure(QStringLiteral("--view must be entire, 8s, 6s or large, not \"%1\"").arg(parser.value(view)));

    if (!parser.isSet(at))
        return failure(QStringLiteral("no --at given"));
    bool ok = false;
    a.atSeconds = parser.value(at).toLongLong(&ok);
    if (!ok || a.atSeconds < 0 || a.atSeconds > MaxSeconds)
        return failure(QStringLiteral("--at must be whole seconds from 0 to %1, not \"%2\"")
                           .arg(MaxSeconds)
                           .arg(parser.value(at)));

    if (!parseSize(parser.value(size), a.size))
        return failure(QStringLiteral("--size must be WxH with sides from 1 to %1, not \"%2\"")
                           .arg(MaxSide)
                           .arg(parser.value(size)));

    QString why;
    if (!readZoneOption(parser, zone, a.zoneRow, why) || !readDepthUnitOption(parser, depthUnit, a.depthUnit, why))
        return failure(why);
    a.languagePack = parser.value(pack);

    a.output = parser.value(output);
    if (a.output.isEmpty())
        return failure(QStringLiteral("no -o FILE.png given"));
    a.overwrite = parser.isSet(overwrite);

    a.outcome = Outcome::Run;
    return a;
}

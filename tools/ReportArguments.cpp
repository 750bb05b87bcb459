#include "tools/ReportArguments.h"

#include "tools/ArchiveCommandArguments.h"
#include "tools/CliOutput.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

ReportArguments failure(const QString &message)
{
    ReportArguments a;
    a.outcome = ReportArguments::Outcome::Error;
    a.message = message;
    return a;
}

// "START_MS-END_MS": whole case milliseconds, the end not before the start.
bool parseSegment(const QString &text, std::pair<int32_t, int32_t> &segment)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,10})-(\\d{1,10})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    const qint64 start = m.captured(1).toLongLong();
    const qint64 end = m.captured(2).toLongLong();
    if (end > INT32_MAX || end < start)
        return false;
    segment = {int32_t(start), int32_t(end)};
    return true;
}

QString description(ReportArguments::Kind kind)
{
    if (kind == ReportArguments::Kind::Log)
        return QStringLiteral("Opens ARCHIVE as \"Load AED File\" does and writes the case's HTML incident log"
                              "\nas the program's \"Incident Log\" does.\n\n");
    return QStringLiteral("Opens ARCHIVE as \"Load AED File\" does, selects the segments in the enlarged ECG"
                          "\nand prints them as \"Print All Segment\" does, into a PDF file.\n\n");
}

} // namespace

QStringList ReportArguments::paperNames()
{
    return {QStringLiteral("A3"), QStringLiteral("A4"), QStringLiteral("A5"), QStringLiteral("B5"),
            QStringLiteral("Letter"), QStringLiteral("Legal"), QStringLiteral("Executive")};
}

ReportArguments ReportArguments::parse(const QStringList &arguments, Kind kind)
{
    const bool print = kind == Kind::Print;
    const QCommandLineOption segment(QStringLiteral("segment"),
                                     QStringLiteral("A selected segment, case milliseconds (repeatable)."),
                                     QStringLiteral("START_MS-END_MS"));
    const QCommandLineOption zone = zoneOption();
    const QCommandLineOption depthUnit = depthUnitOption();
    const QCommandLineOption pack = languagePackOption();
    const QCommandLineOption output(QStringLiteral("o"),
                                    print ? QStringLiteral("The PDF file to write.")
                                          : QStringLiteral("The HTML file to write."),
                                    print ? QStringLiteral("FILE.pdf") : QStringLiteral("FILE.html"));
    const QString papers = paperNames().join(QStringLiteral(", "));
    const QCommandLineOption paper(QStringLiteral("paper"), QStringLiteral("The paper: %1 (default A4).").arg(papers),
                                   QStringLiteral("NAME"));
    const QCommandLineOption landscape(QStringLiteral("landscape"), QStringLiteral("Landscape orientation."));
    const QCommandLineOption overwrite = overwriteOption();
    QList<QCommandLineOption> options{zone, pack, output, overwrite};
    if (print)
        options << segment << paper << landscape;
    else
        options.insert(1, depthUnit);
    CommandArgumentParser parser(options, QStringLiteral("ARCHIVE"), QStringLiteral("The archive (.aed) to open."));

    ReportArguments a;
    a.outcome = parser.parse(arguments, print ? PrintSynopsis : LogSynopsis, description(kind), a.archive, a.message);
    if (a.outcome != Outcome::Run)
        return a;

    if (print) {
        for (const QString &text : parser.values(segment)) {
            std::pair<int32_t, int32_t> s;
            if (!parseSegment(text, s))
                return failure(QStringLiteral("--segment must be START_MS-END_MS, whole milliseconds with the end "
                                              "not before the start, not \"%1\"")
                                   .arg(text));
            a.segments.push_back(s);
        }
        if (a.segments.empty())
            return failure(QStringLiteral("no --segment given"));
        if (parser.isSet(paper)) {
            const QString name = parser.value(paper);
            const QStringList known = paperNames();
            const auto it = std::find_if(known.begin(), known.end(),
                                         [&](const QString &k) { return k.compare(name, Qt::CaseInsensitive) == 0; });
            if (it == known.end())
                return failure(QStringLiteral("--paper must be one of %1, not \"%2\"")
                                   .arg(known.join(QStringLiteral(", ")), name));
            a.paper = *it;
        }
        a.landscape = parser.isSet(landscape);
    }

    QString why;
    if (!readZoneOption(parser, zone, a.zoneRow, why))
        return failure(why);
    if (!print && !readDepthUnitOption(parser, depthUnit, a.depthUnit, why))
        return failure(why);
    a.languagePack = parser.value(pack);

    a.output = parser.value(output);
    if (a.output.isEmpty())
        return failure(print ? QStringLiteral("no -o FILE.pdf given") : QStringLiteral("no -o FILE.html given"));
    a.overwrite = parser.isSet(overwrite);

    a.outcome = Outcome::Run;
    return a;
}

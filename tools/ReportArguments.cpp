#include "tools/ReportArguments.h"

#include "case/TimeZoneTable.h"

#include <QCommandLineParser>
#include <QRegularExpression>

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

ReportArguments ReportArguments::parse(const QStringList &arguments, Kind kind)
{
    const bool print = kind == Kind::Print;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption segment(QStringLiteral("segment"),
                                     QStringLiteral("A selected segment, case milliseconds (repeatable)."),
                                     QStringLiteral("START_MS-END_MS"));
    const QCommandLineOption zone(QStringLiteral("zone"),
                                  QStringLiteral("Time-zone row 0..178 of the Open dialog (default: this computer's)."),
                                  QStringLiteral("N"));
    const QCommandLineOption pack(QStringLiteral("lang-pack"),
                                  QStringLiteral("Language pack to take the texts from (default: the built-in one)."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption output(QStringLiteral("o"),
                                    print ? QStringLiteral("The PDF file to write.")
                                          : QStringLiteral("The HTML file to write."),
                                    print ? QStringLiteral("FILE.pdf") : QStringLiteral("FILE.html"));
    parser.addOptions({help, zone, pack, output});
    if (print)
        parser.addOption(segment);
    parser.addPositionalArgument(QStringLiteral("ARCHIVE"), QStringLiteral("The archive (.aed) to open."));

    const QString synopsis = QLatin1String(print ? PrintSynopsis : LogSynopsis);
    if (!parser.parse(arguments))
        return failure(parser.errorText());
    if (parser.isSet(help)) {
        ReportArguments a;
        a.outcome = Outcome::Help;
        a.message = QStringLiteral("usage: ravelin-cli ") + synopsis + QStringLiteral("\n\n") + description(kind)
            + parser.helpText().section(QLatin1Char('\n'), 2);
        return a;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return failure(positional.isEmpty() ? QStringLiteral("no ARCHIVE given")
                                             : QStringLiteral("one ARCHIVE only, got: ") + positional.join(QLatin1Char(' ')));
    ReportArguments a;
    a.archive = positional.front();

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
    }

    if (parser.isSet(zone)) {
        bool ok = false;
        a.zoneRow = parser.value(zone).toInt(&ok);
        if (!ok || a.zoneRow < 0 || a.zoneRow >= TimeZoneTable::RowCount)
            return failure(QStringLiteral("--zone must be a row from 0 to %1, not \"%2\"")
                               .arg(TimeZoneTable::RowCount - 1)
                               .arg(parser.value(zone)));
    }
    a.languagePack = parser.value(pack);

    a.output = parser.value(output);
    if (a.output.isEmpty())
        return failure(print ? QStringLiteral("no -o FILE.pdf given") : QStringLiteral("no -o FILE.html given"));

    a.outcome = Outcome::Run;
    return a;
}

#include "tools/ReportArguments.h"

#include <gtest/gtest.h>

namespace {

ReportArguments parse(ReportArguments::Kind kind, const QStringList &own)
{
    const QString name = kind == ReportArguments::Kind::Log ? "ravelin-cli log" : "ravelin-cli print";
    return ReportArguments::parse(QStringList{name} + own, kind);
}

using Kind = ReportArguments::Kind;
using Outcome = ReportArguments::Outcome;

TEST(ReportArguments, ReadsTheLogAndPrintCommands)
{
    const ReportArguments log = parse(Kind::Log, {"case.aed", "-o", "log.html", "--zone", "141"});
    EXPECT_EQ(log.outcome, Outcome::Run);
    EXPECT_EQ(log.archive, "case.aed");
    EXPECT_EQ(log.output, "log.html");
    EXPECT_EQ(log.zoneRow, 141);
    EXPECT_TRUE(log.segments.empty());

    const ReportArguments print = parse(
        Kind::Print, {"case.aed", "--segment", "30000-32000", "--segment", "0-25000", "-o", "r.pdf", "--lang-pack", "s.txt"});
    EXPECT_EQ(print.outcome, Outcome::Run);
    EXPECT_EQ(print.segments, (std::vector<std::pair<int32_t, int32_t>>{{30000, 32000}, {0, 25000}}));
    EXPECT_EQ(print.zoneRow, -1);
    EXPECT_EQ(print.languagePack, "s.txt");
    EXPECT_EQ(print.paper, "A4");
    EXPECT_FALSE(print.landscape);

    const ReportArguments letter =
        parse(Kind::Print, {"case.aed", "--segment", "0-1000", "-o", "r.pdf", "--paper", "letter", "--landscape"});
    EXPECT_EQ(letter.outcome, Outcome::Run);
    EXPECT_EQ(letter.paper, "Letter");
    EXPECT_TRUE(letter.landscape);
}

TEST(ReportArguments, RefusesWhatCannotBeRun)
{
    struct Row {
        Kind kind;
        QStringList own;
        const char *message;
    };
    const Row rows[] = {
        {Kind::Log, {"-o", "log.html"}, "no ARCHIVE given"},
        {Kind::Log, {"a.aed", "b.aed", "-o", "log.html"}, "one ARCHIVE only"},
        {Kind::Log, {"a.aed"}, "no -o FILE.html given"},
        {Kind::Log, {"a.aed", "-o", "x", "--zone", "179"}, "--zone must be a row from 0 to 178"},
        {Kind::Log, {"a.aed", "-o", "x", "--segment", "0-1"}, "Unknown option 'segment'"},
        {Kind::Print, {"a.aed", "-o", "r.pdf"}, "no --segment given"},
        {Kind::Print, {"a.aed", "--segment", "5000-2000", "-o", "r.pdf"}, "--segment must be START_MS-END_MS"},
        {Kind::Print, {"a.aed", "--segment", "-5-2000", "-o", "r.pdf"}, "--segment must be START_MS-END_MS"},
        {Kind::Print, {"a.aed", "--segment", "0-3000000000", "-o", "r.pdf"}, "--segment must be START_MS-END_MS"},
        {Kind::Print, {"a.aed", "--segment", "10 s", "-o", "r.pdf"}, "--segment must be START_MS-END_MS"},
        {Kind::Print, {"a.aed", "--segment", "0-1000"}, "no -o FILE.pdf given"},
        {Kind::Print, {"a.aed", "--segment", "0-1000", "-o", "r.pdf", "--paper", "A6"},
         "--paper must be one of A3, A4, A5, B5, Letter, Legal, Executive, not \"A6\""},
        {Kind::Log, {"a.aed", "-o", "x", "--landscape"}, "Unknown option 'landscape'"},
    };
    for (const Row &row : rows) {
        const ReportArguments a = parse(row.kind, row.own);
        EXPECT_EQ(a.outcome, Outcome::Error) << row.own.join(' ').toStdString();
        EXPECT_TRUE(a.message.startsWith(QLatin1String(row.message))) << a.message.toStdString();
    }

    const ReportArguments help = parse(Kind::Print, {"--help"});
    EXPECT_EQ(help.outcome, Outcome::Help);
    EXPECT_TRUE(help.message.startsWith("usage: ravelin-cli print ARCHIVE --segment START_MS-END_MS"));
}

} // namespace

#include "library/LibraryEngine.h"
#include "library/QaLibraryRows.h"
#include "tools/CliRun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

// "ravelin-cli library report" over the hand-made library of QaLibraryRows.h, on both engines.
class CliLibraryReportTest : public LibraryEngineTest
{
protected:
    void SetUp() override
    {
        LibraryEngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        storeQaLibrary(*openLibrary());
    }

    QString db() const
    {
        return location.engine == LibraryLocation::Engine::Sqlite ? location.sqliteFile : location.displayName();
    }

    CliRun library(const QStringList &arguments) { return runCli(QStringList{"library", "--db", db()} + arguments); }

    // The report's pages as pdftotext lays them out, each line as on the page.
    static QString pdfText(const QString &pdf)
    {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        text.waitForFinished(60000);
        return QString::fromUtf8(text.readAllStandardOutput());
    }

    // Whether a line of text begins with these cells, blanks between them.
    static bool hasLine(const QString &text, const QStringList &cells)
    {
        QStringList escaped;
        for (const QString &cell : cells)
            escaped << QRegularExpression::escape(cell);
        return text.contains(QRegularExpression(QStringLiteral("(^|\\n)\\s*") + escaped.join(QStringLiteral("\\s+"))
                                                + QStringLiteral("(\\s|$)")));
    }

    static QString percent(const QJsonValue &share) { return QString::number(share.toDouble() * 100, 'f', 1) + " %"; }
    static QString seconds(const QJsonValue &ms) { return QString::number(ms.toDouble() / 1000, 'f', 1) + " s"; }
};

TEST_P(CliLibraryReportTest, TheReportShowsTheFiguresOfLibraryStats)
{
    const QString pdf = dir.file(QStringLiteral("qa.pdf"));
    const QString csv = dir.file(QStringLiteral("qa.csv"));
    const CliRun run = library({"report", "--ccf-target", "0.8", "--pdf", pdf, "--csv", csv});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, pdf + "\n" + csv + "\n");

    const CliRun stats = library({"stats", "--by", "all", "--format", "json"});
    ASSERT_EQ(stats.status, 0) << stats.err.toStdString();
    const QJsonObject all = QJsonDocument::fromJson(stats.out.toUtf8()).array().at(0).toObject();
    ASSERT_EQ(all["cases"].toInt(), 5) << stats.out.toStdString();

    const QString text = pdfText(pdf);
    const QString en = QString(QChar(0x2013));
    for (const auto &[label, value] :
         std::vector<std::pair<QString, QString>>{
             {"Recordings", QString::number(all["cases"].toInt())},
             {"Shocks", QString::number(all["shocks"].toInt())},
             {"Median CCF (interquartile range)", percent(all["medianCcf"]) + " (" + percent(all["lowerQuartileCcf"])
                                                      + " " + en + " " + percent(all["upperQuartileCcf"]) + ")"},
             {QString("Recordings with CCF ") + QChar(0x2265) + " 80 %", percent(all["shareCcfAtTarget"])},
             {QString("Shocks with a pre-shock pause ") + QChar(0x2264) + " 10 s",
              percent(all["shareShocksPreShockPauseAtMost10s"])},
             {QString("Shocks with a pre-shock pause ") + QChar(0x2264) + " 20 s",
              percent(all["shareShocksPreShockPauseAtMost20s"])},
             {"Median time from power-on to the first analysis", seconds(all["medianToFirstAnalysisMs"])},
             {"Median time from power-on to the first shock", seconds(all["medianToFirstShockMs"])},
             {"Median time from power-on to the first compression", seconds(all["medianToFirstCompressionMs"])},
             {"Hands-off time", seconds(all["handsOffMs"])},
             {"until analysis", seconds(all["handsOffUntilAnalysisMs"]) + " (83.3 %)"},
         })
        EXPECT_TRUE(hasLine(text, {label, value})) << label.toStdString() << " " << value.toStdString() << "\n"
                                                 << text.toStdString();
    // The table by device, and the recordings to look at with their patient but never a comment.
    const QJsonArray devices = QJsonDocument::fromJson(library({"stats", "--by", "device", "--format", "json"}).out.toUtf8()).array();
    ASSERT_EQ(devices.size(), 2);
    EXPECT_TRUE(hasLine(text, {"SN1", "Q25", "2", percent(devices[0].toObject()["medianCcf"])}))
        << text.toStdString();
    EXPECT_TRUE(text.contains("SurnameB, GivenB")) << text.toStdString();
    EXPECT_FALSE(text.contains("SurnameA")) << "A needs no attention";
    for (const char *never : {"SecretComment", "SecretNote"})
        EXPECT_FALSE(text.contains(never)) << never;

    // The CSV is the monthly and the device summary of stats, an empty line between.
    QFile tables(csv);
    ASSERT_TRUE(tables.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(tables.readAll()), library({"stats", "--by", "month", "--format", "csv"}).out + "\n"
                                                       + library({"stats", "--by", "device", "--format", "csv"}).out);
    for (const QString &written : {pdf, csv}) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(written).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u) << "it can name patients";
    }
}

TEST_P(CliLibraryReportTest, AnAnonymisedReportNamesNoPatient)
{
    const QString pdf = dir.file(QStringLiteral("anonymous.pdf"));
    const CliRun run = library({"report", "--search", "Surname", "--pdf", pdf, "--anonymize"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains("Recordings that need attention")) << text.toStdString();
    EXPECT_TRUE(text.contains("SN1 (Q25)")) << text.toStdString();
    for (const char *leak : {"Surname", "Given", "PID-", "SecretComment", "SecretNote"})
        EXPECT_FALSE(text.contains(leak)) << leak << "\n" << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, CliLibraryReportTest, testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

class CliLibraryReportFiles : public CliLibraryReportTest
{
};

TEST_P(CliLibraryReportFiles, AnEmptyPeriodSaysSoAndOutputsFollowTheRules)
{
    const QString pdf = dir.file(QStringLiteral("empty.pdf"));
    ASSERT_EQ(library({"report", "--from", "2030-01-01", "--pdf", pdf}).status, 0);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains("No recording of the library matches")) << text.toStdString();
    EXPECT_EQ(text.count("No data."), 5) << "three charts, the hands-off time, the devices\n"
                                                        << text.toStdString();
    EXPECT_TRUE(text.contains("No recording needs attention.")) << text.toStdString();
    EXPECT_TRUE(text.contains("From: 2030-01-01")) << text.toStdString();

    // An existing file only with --overwrite; never through a link.
    CliRun again = library({"report", "--pdf", pdf});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("--overwrite")) << again.err.toStdString();
    EXPECT_TRUE(pdfText(pdf).contains("No recording of the library matches")) << "left as it was";
    EXPECT_EQ(library({"report", "--pdf", pdf, "--overwrite"}).status, 0);
    EXPECT_FALSE(pdfText(pdf).contains("No recording of the library matches"));

    const QString target = dir.file(QStringLiteral("elsewhere.txt"));
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("kept");
    file.close();
    const QString link = dir.file(QStringLiteral("link.pdf"));
    ASSERT_TRUE(QFile::link(target, link));
    again = library({"report", "--pdf", link, "--overwrite"});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("symbolic link")) << again.err.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "kept");
}

INSTANTIATE_TEST_SUITE_P(Engines, CliLibraryReportFiles, testing::Values(Engine::Sqlite), engineName);

} // namespace

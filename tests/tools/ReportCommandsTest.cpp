// "ravelin-cli log" and "ravelin-cli print" run as their users run them, on the archive of
// a simulated rescue imported by "ravelin-cli import".
#include "report/IncidentLog.h"
#include "base/LanguagePack.h"
#include "app/QtPlatform.h"
#include "app/QtReportDialogs.h"
#include "archive/OpenFlow.h"
#include "app/CRavelinView.h"
#include "case/MemoryTreeControl.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/PdfWords.h"
#include "support/QtPrinters.h"
#include "support/ScopedCacheLocation.h"
#include "support/TempDir.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "CliRun.h"

namespace {

QString tool(const QString &name, const QStringList &arguments)
{
    QProcess process;
    process.start(name, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

constexpr auto SeoulRow = "141"; // UTC+09:00: the device's own clock, no shift

// The program's side: an archive opened in a view as "Load AED File" does, in the
// device's own zone, its case selected.
struct ProgramView
{
    FakePlatform platform;
    LanguagePack texts = Packs::builtInEnglish();
    MemoryTreeControl tree;
    CRavelinView view{texts, platform};

    bool open(const QString &archive)
    {
        view.setTree(&tree);
        view.state.timeZoneChoice = 141;
        OpenFlow flow(view.session);
        if (flow.OpenArchiveFile(archive) != OpenFlow::Outcome::Opened)
            return false;
        view.session.selSlot = flow.openedSlot();
        return true;
    }
};

// One simulated rescue, imported once for all tests of the suite.
class ReportCommands : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TempDir;
        const QString folder = s_dir->file("rescue");
        s_archive = s_dir->file("rescue.aed");
        const CliRun simulate = runCli({"simulate", folder, "--minutes", "2", "--seed", "5", "--no-audio"});
        const CliRun import = runCli({"import", folder, "--serial", "SN-4711", "--out", s_archive});
        s_ready = simulate.status == 0 && import.status == 0;
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_ready) << "the simulated archive could not be made"; }

    TempDir dir;
    static inline TempDir *s_dir = nullptr;
    static inline QString s_archive;
    static inline bool s_ready = false;
};

TEST_F(ReportCommands, LogWritesTheIncidentLogTheProgramWrites)
{
    const QString out = dir.file("log.html");
    const CliRun run = runCli({"log", s_archive, "--zone", SeoulRow, "-o", out});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, out + "\n");
    const QString written = QString::fromUtf8(readFile(out));
    EXPECT_TRUE(written.contains("<title>Lumeron AED Incident Log   2021.03.07   09:05:00</title>"));
    EXPECT_TRUE(written.contains("Serial Number: SN-4711<br>"));

    // The program: the same archive opened in a view, "Incident Log" of the report menu.
    ProgramView program;
    ASSERT_TRUE(program.open(s_archive));
    {
        ScopedCacheLocation temp(dir.path());
        program.view.OnIncidentLog();
    }
    ASSERT_EQ(program.platform.openedFiles.size(), 1);
    const QString shown = QString::fromUtf8(readFile(program.platform.openedFiles[0]));

    static const QRegularExpression reportDate(QStringLiteral("Report Date: [0-9. ]+:[0-9]+:[0-9]+<br>"));
    EXPECT_EQ(QString(shown).replace(reportDate, "").toStdString(),
              QString(written).replace(reportDate, "").toStdString());
    EXPECT_EQ(shown.count(reportDate), 1);
}

TEST_F(ReportCommands, CprPdfAndLogCarryTheNumbersOfTheCprCommand)
{
    // The archive with the sensor's file beside it.
    const QString archive = dir.file("rescue.aed");
    ASSERT_TRUE(QFile::copy(s_archive, archive));
    ASSERT_TRUE(QFile::copy(s_dir->file("rescue/CPR Feedback.bin"), dir.file("CPR Feedback.bin")));
    const CliRun json = runCli({"cpr", archive, "--zone", SeoulRow});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const QJsonArray pauses = o["pauses"].toArray();
    ASSERT_FALSE(pauses.isEmpty());
    const auto percent = [](double share) { return QString::number(share * 100, 'f', 1) + " %"; };
    const auto seconds = [](int ms) { return QString::number(ms / 1000.0, 'f', 1) + " s"; };
    const QString ccf = "Compression fraction (CCF) " + percent(o["ccf"].toDouble());
    const QString rate = "Mean rate " + QString::number(o["meanRatePerMin"].toDouble(), 'f', 0) + " /min";
    const QString count = "Compressions " + QString::number(o["compressionCount"].toInt());
    const QString firstPause = seconds(pauses[0].toObject()["lengthMs"].toInt()) + " "
                               + pauses[0].toObject()["kind"].toString();
    // The depth and its target in inches, or in centimetres with --depth-unit cm.
    const QString inches = "Mean depth " + QString::number(o["meanDepthIn"].toDouble(), 'f', 2) + " in 2.0\u20132.4 in";
    const QString cm = "Mean depth " + QString::number(o["meanDepthCm"].toDouble(), 'f', 2) + " cm 5.08\u20136.10 cm";

    const QString log = dir.file("log.html");
    ASSERT_EQ(runCli({"log", archive, "--zone", SeoulRow, "-o", log}).status, 0);
    const QString html = QString::fromUtf8(readFile(log)).replace("</td><td>", " ");
    for (const QString &expected : {ccf, rate, count, firstPause, inches})
        EXPECT_TRUE(html.contains(expected)) << expected.toStdString();
    // Each pause's line ends with its parts.
    EXPECT_EQ(html.count(QRegularExpression(" s (peri-shock|analysis|other) [^<]+ s</td></tr>")), pauses.size());
    const QString logCm = dir.file("log-cm.html");
    ASSERT_EQ(runCli({"log", archive, "--zone", SeoulRow, "--depth-unit", "cm", "-o", logCm}).status, 0);
    const QString htmlCm = QString::fromUtf8(readFile(logCm)).replace("</td><td>", " ");
    EXPECT_TRUE(htmlCm.contains(cm)) << cm.toStdString();
    EXPECT_FALSE(htmlCm.contains(inches));

    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    const QString pdf = dir.file("cpr.pdf");
    const CliRun printed = runCli({"cpr", archive, "--zone", SeoulRow, "--pdf", pdf});
    ASSERT_EQ(printed.status, 0) << printed.err.toStdString();
    EXPECT_EQ(printed.out, pdf + "\n");
    const QString text = tool("pdftotext", {"-raw", pdf, "-"}).simplified();
    for (const QString &expected : {QString("CPR quality report"), QString("Definitions"), ccf, rate, count, inches})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\nin: " << text.toStdString();
    const QString pdfCm = dir.file("cpr-cm.pdf");
    ASSERT_EQ(runCli({"cpr", archive, "--zone", SeoulRow, "--depth-unit", "cm", "--pdf", pdfCm}).status, 0);
    const QString textCm = tool("pdftotext", {"-raw", pdfCm, "-"}).simplified();
    for (const QString &expected : {cm, QString("Depth per minute (cm)")})
        EXPECT_TRUE(textCm.contains(expected)) << expected.toStdString() << "\nin: " << textCm.toStdString();

    // A file that cannot be written is reported and nothing is printed.
    const QString blocked = dir.mkdir("blocked");
    const CliRun unwritable = runCli({"cpr", archive, "--pdf", blocked});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains(blocked)) << unwritable.err.toStdString();
    EXPECT_EQ(unwritable.out, "");
}

TEST_F(ReportCommands, PrintWritesTheSelectionReportAsPdf)
{
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty() || QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    const QString out = dir.file("report.pdf");
    const CliRun run = runCli({"print", s_archive, "--zone", SeoulRow, "--segment", "90000-92000", "--segment",
                                "10000-12000", "--segment", "30000-32000", "--segment", "50000-52000", "--segment",
                                "70000-72000", "-o", out});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, out + "\n");
    EXPECT_TRUE(tool("pdfinfo", {out}).contains(QRegularExpression("Pages:\\s+2\\n")));
    const QString text = tool("pdftotext", {out, "-"}).simplified();
    for (const char *expected : {"Lumeron AED Selection Report", "2021.03.07 09:05:00", "SN-4711 ,",
                                 "< Time Gap : --- sec >", "09:05:10", "09:06:40", "page 1 of 2", "page 2 of 2"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << "\nin: " << text.toStdString();

    // Italian with a pack whose header chooses language 2.
    const QByteArray deployed = readFile(Packs::deployedPath());
    QString content = QString::fromUtf16(reinterpret_cast<const char16_t *>(deployed.constData()), deployed.size() / 2);
    const QString header = QStringLiteral("language\t0"); // the byte-order mark is read, not kept
    ASSERT_TRUE(content.startsWith(header));
    content.replace(0, header.size(), QChar(0xFEFF) + QStringLiteral("language\t2"));
    const QByteArray pack(reinterpret_cast<const char *>(content.utf16()), content.size() * 2);
    const QString italianPack = dir.file("string.txt");
    QFile f(italianPack);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(pack);
    f.close();
    const QString italian = dir.file("rapporto.pdf");
    ASSERT_EQ(runCli({"print", s_archive, "--segment", "0-1000", "--lang-pack", italianPack, "-o", italian}).status,
              0);
    const QString italianText = tool("pdftotext", {italian, "-"}).simplified();
    EXPECT_TRUE(italianText.contains("Rapporto di selezione Lumeron DAE")) << italianText.toStdString();
    EXPECT_TRUE(italianText.contains(QStringLiteral("pagina 1 di 1")));
}

TEST_F(ReportCommands, PrintGivesTheProgramsPageForTheSamePaper)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QStringList segments{"--segment", "10000-12000", "--segment", "30000-45000"};
    struct Paper {
        const char *name;
        bool landscape;
        double width; // points
        double height;
    };
    for (const Paper &paper : {Paper{"A4", true, 842, 595}, Paper{"letter", false, 612, 792}}) {
        const QString out = dir.file(QStringLiteral("cli-%1.pdf").arg(paper.name));
        QStringList arguments = QStringList{"print", s_archive, "--zone", SeoulRow, "--paper", paper.name, "-o", out}
                                + segments;
        if (paper.landscape)
            arguments << "--landscape";
        const CliRun run = runCli(arguments);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();

        // The program: the archive opened in a view, the segments selected, the print
        // dialog's PDF printer set to the same paper as the program sets it up.
        ProgramView program;
        ASSERT_TRUE(program.open(s_archive));
        CRavelinView &view = program.view;
        view.store.AddSegment(view.session.selSlot, 10000, 12000);
        view.store.AddSegment(view.session.selSlot, 30000, 45000);
        const QString printed = dir.file(QStringLiteral("program-%1.pdf").arg(paper.name));
        program.platform.printScript = [&](const SelectionReport &report) {
            QtPlatform qt;
            if (!qt.printer())
                return PrintOutcome::failed(QStringLiteral("the program's printing plugin is not there"));
            QPrinter &printer = *qt.printer();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
            printer.setPageSize(QPageSize(paper.landscape ? QPageSize::A4 : QPageSize::Letter));
            printer.setPageOrientation(paper.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
            return QtReportDialogs::printReport(report, printer);
        };
        view.OnPrintSegments(SelectionPrintState::KindAllSegments);
        ASSERT_TRUE(program.platform.messages.isEmpty()) << program.platform.messages[0].text.toStdString();

        const QList<PdfPage> cliPages = pdfPages(out);
        const QList<PdfPage> programPages = pdfPages(printed);
        ASSERT_EQ(cliPages.size(), 1) << paper.name;
        ASSERT_EQ(programPages.size(), 1) << paper.name;
        EXPECT_NEAR(cliPages[0].width, paper.width, 0.5) << paper.name;
        EXPECT_NEAR(cliPages[0].height, paper.height, 0.5) << paper.name;
        EXPECT_EQ(programPages[0].width, cliPages[0].width) << paper.name;
        EXPECT_EQ(programPages[0].height, cliPages[0].height) << paper.name;
        ASSERT_EQ(programPages[0].words.size(), cliPages[0].words.size()) << paper.name;
        for (qsizetype i = 0; i < cliPages[0].words.size(); ++i) {
            const PdfWord &c = cliPages[0].words[i];
            const PdfWord &p = programPages[0].words[i];
            EXPECT_EQ(p.text, c.text) << paper.name;
            EXPECT_NEAR(p.xMin, c.xMin, 0.01) << paper.name << " " << c.text.toStdString();
            EXPECT_NEAR(p.yMin, c.yMin, 0.01) << paper.name << " " << c.text.toStdString();
        }
    }
}

TEST_F(ReportCommands, FailuresNameWhatWentWrong)
{
    const CliRun noArchive = runCli({"log", dir.file("missing.aed"), "-o", dir.file("log.html")});
    EXPECT_EQ(noArchive.status, 1);
    EXPECT_TRUE(noArchive.err.contains("missing.aed")) << noArchive.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.file("log.html")));

    const CliRun badSegment = runCli({"print", s_archive, "--segment", "9-1", "-o", dir.file("r.pdf")});
    EXPECT_EQ(badSegment.status, 1);
    EXPECT_TRUE(badSegment.err.startsWith("ravelin-cli print: --segment must be")) << badSegment.err.toStdString();
    EXPECT_TRUE(badSegment.err.contains("usage: ravelin-cli print ARCHIVE"));

    const QString blocked = dir.mkdir("blocked.html");
    const CliRun unwritable = runCli({"log", s_archive, "-o", blocked});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains("blocked.html")) << unwritable.err.toStdString();
    EXPECT_TRUE(unwritable.out.isEmpty());
}

} // namespace

#include "base/CommandIds.h"
#include "case/CaseExtent.h"
#include "report/IncidentLog.h"
#include "report/IncidentLogFile.h"
#include "app/DesktopHandler.h"
#include "app/ReportFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <sys/stat.h>

namespace {

// The permission bits of a file or folder, as ls shows them.
unsigned modeOf(const QString &path)
{
    struct stat info{};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? unsigned(info.st_mode & 07777) : 0u;
}

QByteArray crlf(const char *text)
{
    return QByteArray(text).replace("\n", "\r\n");
}

class IncidentLogTest : public ReportFixture, public ::testing::Test
{
protected:
    IncidentLog::ReportInput input(int slot, bool adjusted = false)
    {
        IncidentLog::ReportInput in;
        in.caseRecord = view.store.caseAt(slot);
        in.shockCount = 2;
        in.timeAdjusted = adjusted;
        in.reportTime = CTime(2021, 3, 8, 10, 0, 0);
        return in;
    }

    QString document(int slot, bool adjusted = false)
    {
        return QString::fromUtf8(IncidentLog::document(input(slot, adjusted)));
    }
};

TEST_F(IncidentLogTest, WritesEveryStepOfTheDocumentInOrder)
{
    const int slot = addCase();
    CaseRecord &c = caseAt(slot);
    c.firstName = "Anna";
    c.lastName = "Rossi";
    c.patientId = "MR-7";
    c.middleInitial = "B";
    c.nameSuffixIndex = 6;
    c.sexIndex = 2;
    c.raceIndex = 3;
    c.birthDateKnown = true;
    c.birthDate = CTime(1960, 5, 4, 0, 0, 0);
    c.heightText = "170";
    c.heightUnitIndex = 1;
    c.weightText = "65";
    c.weightUnitIndex = 0;
    c.operatorName = "Dr. Bianchi";
    c.comments = "ROSC at 4 min";
    view.store.AddEvent(slot, 65000, "Analyzing", "");
    view.store.AddEvent(slot, 0, "Power on.", "");

    const QByteArray expected = crlf(
        "<html xmlns:msxsl=\"urn:schemas-microsoft-com:xslt\" xmlns:user=\"urn:veltris-aed:incident-log\">\n"
        "<head>\n"
        "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
        "<style>\n"
        ".Measurement { font-size:8pt; }\n"
        "td.Annotation { font-style:italic; vertical-align:top; }\n"
        "td.Defib { font-weight:bold; vertical-align:top; }\n"
        "td.CodeLog { vertical-align:top; }\n"
        "td.EventIcon { width:48px; vertical-align:top; }\n"
        "img.EventIcon {width:48px; height:32px; }\n"
        "td.Timestamp { width:10%; vertical-align:top; }\n"
        "</style>\n"
        "<title>Lumeron AED Incident Log   2021.03.07   09:05:00</title>\n"
        "</head>\n<body>\n<table width=\"100%\">\n<thead class=\"Header\">\n<tr class=\"Header\">\n"
        "<td class=\"Header\">\n<div class=\"Header\">\n"
        "<hr size=\"7px\" style=\"color:green; background-color:green;\">\n"
        "<font color=\"blue\">Lumeron AED Incident Log</font>\n</div>   2021.03.07   09:05:00<br>\n"
        "  Patient: Anna,Rossi<br>\n  Run number: <br><style>\n"
        "body\n{\nfont-size:12pt; font-family:Arial; \n}\n"
        "thead.Header\n{\nborder:0px;\nfont-size:12pt;\nfont-weight:normal;\ndisplay:table-header-group;\n"
        "text-align:left;\npadding:0px;\n}\n"
        "tr.Header\n{\nborder:0px;\nwidth:100%;\npadding:0px;\n}\n"
        "th.Header\n{\nborder:0px;\nfont-weight:bold;\ntext-align:left;\npadding:0px;\n}\n"
        "td.Header\n{\nborder:0px;\nwidth:100%;\ntext-align:left;\npadding:0px;\n}\n"
        "tfoot.Header\n{\ndisplay: none;\n}\n"
        "div.Header\n{\nborder:0px;\nwidth:100%;\nfont-size:18pt;\nfont-weight:bold;\ntext-align:left;\n"
        "padding:0px;\n}"
        "tr.Logo\n{\nborder:0px;\nwidth:100%;\npadding:0px;\n}\n"
        "td.Logo\n{\nborder:0px;\nwidth:100%;\ntext-align:left;\nfont-weight:bold;\npadding:4px;\n}\n</style>\n"
        "  Report Date: 2021.03.08   10:00:00<br>  recorded by Lumeron AED Event Review Software<br>"
        "<hr size=\"7px\" style=\"color:green; background-color:green;\"><br></td>\n</tr>\n</thead>\n"
        "<tbody>\n<tr><td width=\"100%\">\n"
        "<div style=\"font-weight:bold; font-size:14pt;\"><font color=\"blue\">Patient</font></div>\n"
        "<div style=\"margin-left:1em;\">\n"
        "Patient ID/MR Number: MR-7<br>\n"
        "Last Name: Rossi<br>\n"
        "First Name: Anna<br>\n"
        "MI: B<br>\n"
        "Gen: Jr.<br>\n"
        "Sex: Female<br>\n"
        "Race: Asian or Pacific Islander<br>\n"
        "Date of birth:  1960.05.04 00:00:00<br>\n"
        "Height: 170 cm<br>\n"
        "Weight: 65 lbs</div><br>\n"
        "<div style=\"font-weight:bold; font-size:14pt;\"><font color=\"blue\">Case</font></div>\n"
        "<div style=\"margin-left:1em;\">\n"
        "Length:  0:01:05<br>\n"
        "Run number: <br>\n"
        "Device Type: AED<br>\n"
        "Serial Number: SN-0042<br>\n"
        "Software Version: 1.0.3.8<br>\n"
        "Operator: Dr. Bianchi <br>\n"
        "Number of Shocks Delivered: 2</div><br>\n"
        "<div style=\"font-weight:bold; font-size:14pt;\"><font color=\"blue\">Event Summary</font></div>\n"
        "<div style=\"margin-left:1em;\">\n<table>\n"
        "<tr>\n<td class=\"Timestamp\"> 9:05:00</td>\n<td class=\"Defib\">     Power on.<br></td>\n</tr>\n"
        "<tr>\n<td class=\"Timestamp\"> 9:06:05</td>\n<td class=\"Defib\">     Analyzing<br></td>\n</tr>\n"
        "</table>\n</div><br><br><br><h3>Comments</h3>\n"
        "ROSC at 4 min<br>\n"
        "<div style=\"margin-left:2em;\"></div><br><br>\n"
        "Physician Signature ________________________________\n"
        "<br><br>\nPrint Name ______________________________________\n"
        "<br><br></td></tr>\n</tbody>\n</table>\n</body>\n</html>\n");

    const QByteArray written = IncidentLog::document(input(slot));
    EXPECT_EQ(written.toStdString(), expected.toStdString());
}

TEST_F(IncidentLogTest, FieldChoicesFollowTheirIndexes)
{
    struct Row {
        int suffix, sex, race, heightUnit, weightUnit;
        const char *gen, *sexText, *raceText, *height, *weight;
    };
    const Row rows[] = {
        {1, 1, 1, 0, 1, "Gen: I<br>", "Sex: Male<br>", "Race: White<br>", "Height: 5 in<br>", "Weight: 9 kg</div>"},
        {5, 0, 4, 2, 2, "Gen: V<br>", "Sex: <br>", "Race: American Indian/Eskimo/Aleut<br>", "Height: 5 m<br>",
         "Weight: 9 g</div>"},
        {7, 3, 6, 7, -1, "Gen: Sr.<br>", "Sex: <br>", "Race: Unknown<br>", "Height: 5 cm<br>", "Weight: 9 kg</div>"},
        {0, 0, 0, 1, 1, "Gen: <br>", "Sex: <br>", "Race: <br>", "Height: 5 cm<br>", "Weight: 9 kg</div>"},
        {8, 0, 7, 1, 1, "Gen: <br>", "Sex: <br>", "Race: <br>", "Height: 5 cm<br>", "Weight: 9 kg</div>"},
    };
    const int slot = addCase();
    CaseRecord &c = caseAt(slot);
    c.heightText = "5";
    c.weightText = "9";
    for (const Row &row : rows) {
        c.nameSuffixIndex = row.suffix;
        c.sexIndex = row.sex;
        c.raceIndex = row.race;
        c.heightUnitIndex = row.heightUnit;
        c.weightUnitIndex = row.weightUnit;
        const QString html = document(slot);
        for (const char *line : {row.gen, row.sexText, row.raceText, row.height, row.weight})
            EXPECT_TRUE(html.contains(QLatin1String(line) + "\r\n") || html.contains(QLatin1String(line) + "<br>"))
                << line << " for suffix " << row.suffix;
    }

    c.heightText.clear();
    c.weightText.clear();
    c.birthDateKnown = true;
    c.birthDateUnknown = true;
    const QString html = document(slot);
    EXPECT_TRUE(html.contains("Height: <br>\r\nWeight: </div><br>\r\n"));
    EXPECT_TRUE(html.contains("Date of birth: <br>\r\n"));
}

TEST_F(IncidentLogTest, LengthIsTheTimeOfTheLatestEvent)
{
    struct Row {
        int32_t lastMs;
        const char *length;
    };
    const Row rows[] = {
        {0, " 0:00:00"},
        {3725000, " 1:02:05"},
        {86399000, "23:59:59"},
        {90061000, " 1:01:01:01"},       // a day and more: days in front
        {12 * 86400000 + 5000, "12:00:00:05"},
    };
    for (const Row &row : rows) {
        const int slot = addCase();
        view.store.AddEvent(slot, row.lastMs, "last slot", "");
        EXPECT_EQ(IncidentLog::lengthText(caseAt(slot)), QString::fromLatin1(row.length)) << row.lastMs;
        view.store.FreeCase(slot);
    }

    // An annotation added last at an earlier time, and a removed event, leave the length at
    // the latest event: what the General tab shows as the data duration.
    const int slot = addCase();
    view.store.AddEvent(slot, 0, "Power on.", "");
    view.store.AddEvent(slot, 7200000, "late", "");
    view.store.AddEvent(slot, 9000000, "removed", "");
    caseAt(slot).events.remove(2);
    view.store.AddEvent(slot, 60000, "A: early note, added last", "");
    EXPECT_EQ(IncidentLog::lengthText(caseAt(slot)), " 2:00:00");
    EXPECT_EQ(DataDurationText(&caseAt(slot)), "02:00:00");
    EXPECT_TRUE(document(slot).contains("Length:  2:00:00<br>"));
}

TEST_F(IncidentLogTest, EventTimesShowTheDayWhenItChanges)
{
    const int slot = addCase();
    CaseRecord &c = caseAt(slot);
    c.startTime = CTime(2021, 3, 7, 23, 59, 0);
    view.store.AddEvent(slot, 30000, "same day", "");
    view.store.AddEvent(slot, 3725000, "next day", "");
    view.store.AddEvent(slot, 3 * 86400000 + 5760000, "three days on", "");

    const QString html = document(slot);
    EXPECT_TRUE(html.contains("<td class=\"Timestamp\">23:59:30</td>")) << html.toStdString();
    EXPECT_TRUE(html.contains("<td class=\"Timestamp\"> 3/ 8  1:01:05</td>"));
    EXPECT_TRUE(html.contains("<td class=\"Timestamp\"> 3/11  1:35:00</td>"));

    // An invalid start: elapsed hours within the day, and question marks in the header.
    c.startTimeValid = false;
    c.startTime = CTime();
    view.store.AddEvent(slot, 90000000, "after 25 hours", "");
    const QString invalid = document(slot);
    EXPECT_TRUE(invalid.contains("<td class=\"Timestamp\"> 0:00:30</td>"));
    EXPECT_TRUE(invalid.contains("<td class=\"Timestamp\"> 1:02:05</td>"));
    EXPECT_TRUE(invalid.contains("<td class=\"Timestamp\"> 1:00:00</td>"));
    EXPECT_TRUE(invalid.contains("<title>Lumeron AED Incident Log   ????.??.??   ??:??:?\?</title>"));
    EXPECT_TRUE(invalid.contains("</div>   ????.??.??   ??:??:?\?<br>"));
}

TEST_F(IncidentLogTest, EventsAreInTimeOrderWithEqualTimesInSlotOrder)
{
    const int slot = addCase();
    view.store.AddEvent(slot, 5000, "third", "");
    view.store.AddEvent(slot, 0, "Power on.", "");
    view.store.AddEvent(slot, 0, "A: same time, later slot", "note");
    view.store.AddEvent(slot, 4000, "second", "");

    const QString html = document(slot);
    const QStringList inOrder{"Power on.", "A: same time, later slot", "second", "third"};
    qsizetype at = 0;
    for (const QString &text : inOrder) {
        const qsizetype found = html.indexOf("     " + text + "<br></td>", at);
        ASSERT_GE(found, at) << text.toStdString();
        at = found;
    }
}

TEST_F(IncidentLogTest, AdjustedStartMarksTitleHeaderAndEveryEventTime)
{
    const int slot = addCase();
    view.store.AddEvent(slot, 0, "Power on.", "");
    view.store.AddEvent(slot, 1000, "Analyzing", "");

    const QString html = document(slot, true);
    EXPECT_TRUE(html.contains("<title>Lumeron AED Incident Log   2021.03.07   09:05:00 Adjust Time</title>"));
    EXPECT_TRUE(html.contains("</div>   2021.03.07   09:05:00 Adjust Time<br>"));
    EXPECT_TRUE(html.contains("<td class=\"Timestamp\"> 9:05:00\tAdjust\t </td>\r\n"));
    EXPECT_TRUE(html.contains("<td class=\"Timestamp\"> 9:05:01\tAdjust\t </td>\r\n"));
    EXPECT_EQ(html.count("\tAdjust\t"), 2);
}

TEST_F(IncidentLogTest, EveryValueFromTheCaseIsEscaped)
{
    const int slot = addCase();
    CaseRecord &c = caseAt(slot);
    const QString hostile = QStringLiteral("<script>alert(\"x\" & 'y')</script>");
    const QString escaped = QStringLiteral("&lt;script&gt;alert(&quot;x&quot; &amp; &#39;y&#39;)&lt;/script&gt;");
    c.firstName = c.lastName = c.patientId = c.middleInitial = hostile;
    c.heightText = c.weightText = c.serialNumber = c.operatorName = c.comments = hostile;
    view.store.AddEvent(slot, 0, hostile, "");

    const QString html = document(slot);
    EXPECT_FALSE(html.contains("<script>"));
    EXPECT_FALSE(html.contains("'y'"));
    EXPECT_EQ(html.count(escaped), 12); // patient line twice, 4 patient fields, 2 measures, serial, operator, comments, event
    EXPECT_TRUE(html.contains("  Patient: " + escaped + "," + escaped + "<br>"));
    EXPECT_TRUE(html.contains("<td class=\"Defib\">     " + escaped + "<br></td>"));
}

TEST_F(IncidentLogTest, FileIsUtf8WithCrLfLineEnds)
{
    const int slot = addCase();
    caseAt(slot).lastName = QStringLiteral("Müller 李");
    caseAt(slot).comments = QStringLiteral("first line\r\nsecond line\nthird\rfourth & last");
    const QByteArray bytes = IncidentLog::document(input(slot));
    EXPECT_TRUE(bytes.contains("Last Name: M\xC3\xBCller \xE6\x9D\x8E<br>\r\n"));
    EXPECT_TRUE(bytes.contains("first line<br>\r\nsecond line<br>\r\nthird<br>\r\nfourth &amp; last<br>\r\n"));
    EXPECT_FALSE(bytes.contains("\r\r"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
}

TEST_F(IncidentLogTest, AnAnnotationsBodyFollowsItsTitleWithItsLineBreaks)
{
    const int slot = addCase();
    view.store.AddEvent(slot, 0, "Power on.", "");
    view.store.AddEvent(slot, 5000, "A: Airway", "Tube placed\nETCO2 <35>");
    view.store.AddEvent(slot, 6000, "A: Title only", "");
    view.store.AddEvent(slot, 7000, "Analyzing", "not an annotation's body");

    const QString html = document(slot);
    EXPECT_TRUE(html.contains("<td class=\"Defib\">     A: Airway<br></td>\r\n</tr>\r\n"
                              "<tr>\r\n<td class=\"Timestamp\"></td>\r\n"
                              "<td class=\"Annotation\">Tube placed<br>\r\nETCO2 &lt;35&gt;</td>\r\n</tr>\r\n"))
        << html.toStdString();
    EXPECT_EQ(html.count("<td class=\"Annotation\">"), 1);
    EXPECT_FALSE(html.contains("not an annotation's body"));
}

TEST_F(IncidentLogTest, ReportDateIsShownInTheCasesZone)
{
    const int slot = addCase();
    EXPECT_TRUE(document(slot).contains("  Report Date: 2021.03.08   10:00:00<br>"));
    caseAt(slot).timeZoneIndex = ZagrebRow;
    EXPECT_TRUE(document(slot).contains("  Report Date: 2021.03.08   02:00:00<br>"));
}

class IncidentLogCommandTest : public IncidentLogTest
{
protected:
    ScopedCacheLocation cache{dir.path()};
    QString folder() const { return dir.path() + "/VELTRIS AED/Incident Logs"; }
};

TEST_F(IncidentLogCommandTest, NeedsAnOpenCaseAndASelectedOne)
{
    view.OnIncidentLog();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, "Can't print case.");
    EXPECT_EQ(platform.messages[0].caption, texts.GetText(66));
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop);

    const int slot = addCase();
    view.session.selSlot = -1;
    view.OnIncidentLog();
    view.session.selSlot = slot + 1;
    view.OnIncidentLog();
    view.store.FreeCase(slot);
    view.session.selSlot = slot;
    view.OnIncidentLog();
    ASSERT_EQ(platform.messages.size(), 4);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(platform.messages[i].text, "Please select case.");
    EXPECT_TRUE(platform.openedFiles.isEmpty());
    EXPECT_EQ(view.logCounter, 0);
    EXPECT_FALSE(QFileInfo::exists(folder()));
}

TEST_F(IncidentLogCommandTest, EachReportIsANewPrivateFileThatNoLaterRunOverwrites)
{
    const int first = addCase();
    caseAt(first).lastName = "First";
    view.OnIncidentLog();
    const int second = addCase();
    caseAt(second).lastName = "Second";
    view.OnIncidentLog();

    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(view.logCounter, 2);
    const QString one = folder() + "/veltris_aed1.html";
    const QString two = folder() + "/veltris_aed2.html";
    EXPECT_EQ(platform.openedFiles, QStringList({one, two}));
    EXPECT_TRUE(dir.read("VELTRIS AED/Incident Logs/veltris_aed1.html").contains("Last Name: First<br>"));
    EXPECT_TRUE(dir.read("VELTRIS AED/Incident Logs/veltris_aed2.html").contains("Last Name: Second<br>"));
    // Only the user can list the folder or read the reports.
    EXPECT_EQ(modeOf(folder()), 0700u);
    EXPECT_EQ(modeOf(one), 0600u);
    EXPECT_EQ(modeOf(two), 0600u);

    // A new view (the next run, or another instance) moves on past the numbers taken.
    CRavelinView next(texts, platform);
    next.store.AllocateCaseSlot(QString());
    next.session.selSlot = 0;
    next.OnIncidentLog();
    EXPECT_EQ(platform.openedFiles.last(), folder() + "/veltris_aed3.html");
    EXPECT_EQ(next.logCounter, 3);
    EXPECT_TRUE(dir.read("VELTRIS AED/Incident Logs/veltris_aed1.html").contains("Last Name: First<br>"));
}

TEST_F(IncidentLogCommandTest, AFolderOpenToOthersIsClosedAndAnythingInTheWayIsPassedBy)
{
    addCase();
    QDir().mkpath(folder() + "/veltris_aed1.html/in the way");
    QFile::link(dir.file("elsewhere.html"), folder() + "/veltris_aed2.html");
    ::chmod(QFile::encodeName(folder()).constData(), 0755);
    view.OnIncidentLog();

    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(platform.openedFiles, QStringList({folder() + "/veltris_aed3.html"}));
    EXPECT_FALSE(QFileInfo::exists(dir.file("elsewhere.html"))) << "a link's target is never written";
    EXPECT_EQ(modeOf(folder()), 0700u);
}

TEST_F(IncidentLogCommandTest, AFolderThatCannotBeMadeIsReportedAndNothingOpened)
{
    addCase();
    dir.write("VELTRIS AED", "a file where the folder belongs");
    view.OnIncidentLog();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(folder())) << platform.messages[0].text.toStdString();
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop);
    EXPECT_TRUE(platform.openedFiles.isEmpty());
}

TEST_F(IncidentLogCommandTest, WithoutAnApplicationToShowItTheMessageGivesThePath)
{
    addCase();
    platform.openWithDefaultResult = false;
    view.OnIncidentLog();
    const QString path = folder() + "/veltris_aed1.html";
    EXPECT_EQ(platform.openedFiles, QStringList{path});
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text,
              "The incident log was written to " + path + ", but no application could show it.");
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Information);
    EXPECT_TRUE(QFileInfo(path).isFile());
}

// A desktop whose opener reports success for a file nothing shows: the desktop's own answer
// to "which application?" decides; where it cannot be asked, the opener is trusted.
TEST(DesktopHandler, AnEmptyAnswerMeansNothingCanShowTheFile)
{
    struct Row {
        bool asked;
        int exitCode;
        QByteArray answer;
        bool handled;
    };
    const Row rows[] = {
        {true, 0, "firefox-esr.desktop\n", true},
        {true, 0, "", false},
        {true, 0, " \n", false},
        {true, 2, "", true},  // the tool failed: no answer either way
        {false, -1, "", true}, // the tool did not run
    };
    for (const Row &r : rows)
        EXPECT_EQ(DesktopHandler::hasHandler(r.asked, r.exitCode, r.answer), r.handled) << r.answer.toStdString();
}

TEST_F(IncidentLogCommandTest, ShowsTheShockCountAndAdjustmentOfTheView)
{
    const std::string localeBefore = std::setlocale(LC_ALL, nullptr);
    const int slot = addCase();
    view.store.at(slot).shockCount = 3;
    view.store.at(slot).adjustedStart = "2021-03-07 09:05:00";
    view.store.AddEvent(slot, 0, "Power on.", "");
    view.OnIncidentLog();
    QFile f(folder() + "/veltris_aed1.html");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray html = f.readAll();
    EXPECT_TRUE(html.contains("Number of Shocks Delivered: 3</div><br>\r\n"));
    EXPECT_TRUE(html.contains("09:05:00 Adjust Time</title>"));
    EXPECT_TRUE(html.contains(" 9:05:00\tAdjust\t </td>"));
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), localeBefore); // the process locale is left alone
}

} // namespace

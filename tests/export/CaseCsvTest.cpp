// The tables as CSV: quoting by RFC 4180, UTF-8 text, the case's clock.
#include "case/CaseViewFixture.h"
#include "cpr/CprQualityResult.h"
#include "export/CaseCsv.h"
#include "export/CaseExport.h"

#include <gtest/gtest.h>

namespace {

class CaseCsvTest : public ::testing::Test, public CaseViewFixture
{
};

TEST_F(CaseCsvTest, FieldsWithCommasQuotesAndLineBreaksAreQuoted)
{
    const std::pair<QString, QByteArray> cases[] = {
        {QStringLiteral("plain"), "plain"},
        {QStringLiteral("a, b"), "\"a, b\""},
        {QStringLiteral("say \"hi\""), "\"say \"\"hi\"\"\""},
        {QStringLiteral("two\nlines"), "\"two\nlines\""},
        {QStringLiteral("cr\r\nlf"), "\"cr\r\nlf\""},
        {QStringLiteral("Défibrillation réussie, à 3'"), "\"D\xc3\xa9" "fibrillation r\xc3\xa9ussie, \xc3\xa0 3'\""},
        {QString(), ""},
    };
    for (const auto &[field, bytes] : cases)
        EXPECT_EQ(CaseCsv::row({field, QStringLiteral("x")}), bytes + ",x\r\n") << field.toStdString();
}

TEST_F(CaseCsvTest, EventsComeInTimeOrderWithTheClockOfTheCase)
{
    const int slot = decodeCase(emptyFolder());
    CaseRecord &c = *view.store.caseAt(slot);
    ASSERT_TRUE(c.startTimeValid);
    view.store.AddEvent(slot, 65500, QStringLiteral("A: Intubazione, tubo 7.5"),
                        QStringLiteral("Il medico dice: \"già fatto\"\nseconda riga"));
    view.store.AddEvent(slot, 1999, QStringLiteral("A: Arrivo"), QString());

    const QString start = c.startTime.Format("%Y-%m-%d %H:%M:");
    const QByteArray expected = QByteArray("time_ms,clock_time,text,detail\r\n")
                                + "0," + (start + "00").toUtf8() + ",Power on.,\r\n"
                                + "1999," + (start + "01").toUtf8() + ",A: Arrivo,\r\n"
                                + "65500," + c.startTime.operator+(CTimeSpan(65)).Format("%Y-%m-%d %H:%M:%S").toUtf8()
                                + ",\"A: Intubazione, tubo 7.5\",\"Il medico dice: \"\"gi\xc3\xa0 fatto\"\"\nseconda riga\"\r\n";
    EXPECT_EQ(CaseCsv::events(c), expected);

    c.startTimeValid = false;
    EXPECT_TRUE(CaseCsv::events(c).contains("\r\n1999,,A: Arrivo,\r\n")) << "no clock without a valid start";

    c.startTimeValid = true;
    EXPECT_EQ(CaseCsv::events(c, true), QByteArray("time_ms,clock_time,text,detail\r\n0,,Power on.,\r\n"
                                                    "1999,,Annotation,\r\n65500,,Annotation,\r\n"))
        << "anonymised: no clock, an annotation by its kind and without its body";
}

TEST_F(CaseCsvTest, CompressionsAndPausesAreOneRowEach)
{
    const int slot = decodeCase(emptyFolder());
    CaseRecord &c = *view.store.caseAt(slot);
    c.cprFeedback = {{17000, 55}, {17550, 50}};
    EXPECT_EQ(CaseCsv::compressions(c), QByteArray("time_ms,depth,depth_in,depth_cm\r\n"
                                                   "17000,55,2.20,5.59\r\n"
                                                   "17550,50,2.00,5.08\r\n"));
    CprQualityResult r;
    r.pauses = {{20000, 12500, CprPauseKind::PeriShock}, {40000, 2000, CprPauseKind::Other}};
    EXPECT_EQ(CaseCsv::pauses(r), QByteArray("start_ms,length_ms,kind\r\n"
                                             "20000,12500,peri-shock\r\n"
                                             "40000,2000,other\r\n"));
}

TEST_F(CaseCsvTest, MinutesAreOneRowEachWithEmptyFieldsForNone)
{
    CprQualityResult r;
    r.perMinute = {{3, 50, 0.9, 110.0, 2.0}, {4, 0, std::nullopt, std::nullopt, std::nullopt}, {5, 1, 0.0, std::nullopt, 1.8}};
    EXPECT_EQ(CaseCsv::minutes(r), QByteArray("minute,compressions,ccf,meanRatePerMin,meanDepthIn\r\n"
                                              "3,50,0.9,110,2\r\n"
                                              "4,0,,,\r\n"
                                              "5,1,0,,1.8\r\n"));
}

// A case with every kind of identifying value: no table of an anonymised export holds one.
TEST_F(CaseCsvTest, NoAnonymisedTableHoldsAPatientValueSerialClockOrTypedText)
{
    const int slot = decodeCase(emptyFolder());
    CaseRecord &c = *view.store.caseAt(slot);
    c.patientId = QStringLiteral("PT 0815");
    c.lastName = QStringLiteral("Rossi");
    c.firstName = QStringLiteral("Mario");
    c.comments = QStringLiteral("Found by neighbour Bianchi");
    c.operatorName = QStringLiteral("Operator Neri");
    c.birthDate = CTime(1951, 5, 2, 12, 0, 0);
    c.birthDateKnown = true;
    c.cprFeedback = {{17000, 55}, {17550, 50}, {30000, 52}, {30550, 54}};
    c.cprFeedbackCount = 4;
    view.store.at(slot).hasCprFeedback = true;
    view.store.AddEvent(slot, 20000, QStringLiteral("A: Intubation by Verdi"), QStringLiteral("Tube 7.5, Mario awake"));
    const QString day = c.startTime.Format("%Y-%m-%d");
    const QString hourMinute = c.startTime.Format("%H:%M");

    ExportOptions options;
    options.anonymize = true;
    for (const ExportKind kind : {ExportKind::EventsCsv, ExportKind::CompressionsCsv, ExportKind::PausesCsv,
                                  ExportKind::MinutesCsv}) {
        const CaseExport::Built built = CaseExport::build(view.store.at(slot), texts, kind, options);
        ASSERT_EQ(built.problemText, 0);
        ASSERT_FALSE(built.bytes.isEmpty());
        const QString table = QString::fromUtf8(built.bytes);
        for (const QString &leak : {QString("0815"), QString("Rossi"), QString("Mario"), QString("Bianchi"),
                                    QString("Neri"), QString("1951"), QString("SN-0042"), QString("Verdi"),
                                    QString("Tube"), day, hourMinute})
            EXPECT_FALSE(table.contains(leak)) << int(kind) << ": " << leak.toStdString();
    }
}

} // namespace

// The tables as CSV: quoting by RFC 4180, UTF-8 text, the case's clock.
#include "case/CaseViewFixture.h"
#include "cpr/CprQualityResult.h"
#include "export/CaseCsv.h"

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

} // namespace

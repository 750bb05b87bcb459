#include "device/TimeZoneTable.h"

#include "support/ScopedTimeZone.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace TimeZoneTable;

TEST(TimeZoneTable, EveryRowsOffsetIsTheOneWrittenInItsName)
{
    const QStringList &names = timeZoneNames();
    const QList<int32_t> &offsets = timeZoneOffsets();
    ASSERT_EQ(names.size(), RowCount);
    ASSERT_EQ(offsets.size(), RowCount);

    // Every name ends in a blank and one of the UTC forms; read the form independently.
    const QRegularExpression signedForm(QStringLiteral(R"( UTC\(?([+-])(\d\d):(\d\d)\)?$)"));
    const QRegularExpression zeroForm(QStringLiteral(R"( UTC\((GMT|WET)\)$)"));
    for (int row = 0; row < RowCount; ++row) {
        const QString &name = names[row];
        const auto m = signedForm.match(name);
        int32_t expected = 0;
        if (m.hasMatch()) {
            expected = (m.captured(2).toInt() * 60 + m.captured(3).toInt()) * (m.captured(1) == u"-" ? -1 : 1);
        } else {
            ASSERT_TRUE(zeroForm.match(name).hasMatch()) << row << " " << name.toStdString();
        }
        EXPECT_EQ(offsets[row], expected) << row << " " << name.toStdString();
        EXPECT_EQ(offsetOfRow(row), expected) << row;
    }
}

TEST(TimeZoneTable, RowsKeepTheirNamesAndPlaces)
{
    struct Row { int row; const char *name; int32_t offset; };
    const Row rows[] = {
        {0, "Abu Dhabi(UAE) UTC+04:00", 240},
        {14, "Asunción(Paraguay) UTC-04:00", -240},
        {17, "Baku(Azerbaijan) UTC+04:00", 240},
        {39, "Caracas(Venezuela) UTC-04:30", -270},
        {48, "Dublin(Ireland) UTC(WET)", 0},
        {61, "Juba\u200E(South Sudan) UTC+03:00", 180},
        {65, "Kathmandu(Nepal) UTC+05:45", 345},
        {123, "Praia(Cape Verde) UTC-01:00", -60},
        {125, "Quito(Ecuador) UTC+01:00", 60},
        {139, "São Tomé(São Tomé and Príncipe) UTC(GMT)", 0},
        {141, "Seoul(Korea, South) UTC+09:00", 540},
        {171, "Yakutsk(Russia) UTC(+09:00)", 540},
        {178, "Zagreb(Croatia) UTC+01:00", 60},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(timeZoneNames().at(r.row).toStdString(), r.name) << r.row;
        EXPECT_EQ(offsetOfRow(r.row), r.offset) << r.row;
    }
    EXPECT_EQ(timeZoneNames().at(61).at(4), QChar(0x200E));
    EXPECT_EQ(offsetOfRow(-1), 0);
    EXPECT_EQ(offsetOfRow(RowCount), 0);
}

TEST(TimeZoneTable, PreselectionTakesTheFirstMatchButNotRowZero)
{
    EXPECT_EQ(preselectedRow(540), 141);  // Seoul
    EXPECT_EQ(preselectedRow(240), 17);   // row 0 matches too; Baku wins
    EXPECT_EQ(preselectedRow(-120), 0);   // no row
    EXPECT_EQ(preselectedRow(60), 1);     // Abuja
    EXPECT_EQ(preselectedRow(0), 2);      // Accra, "UTC(GMT)"
    EXPECT_EQ(preselectedRow(345), 65);   // Kathmandu, the only row
}

TEST(TimeZoneTable, LocalOffsetIsTheComputersStandardOffset)
{
    struct Zone { const char *tz; int32_t offset; };
    const Zone zones[] = {
        {"KST-9", 540},
        {"Asia/Seoul", 540},
        {"AZT-4", 240},
        {"XXX+2", -120},
        {"NPT-5:45", 345},
        // Daylight saving does not count, whatever the date.
        {"CET-1CEST,M3.5.0,M10.5.0/3", 60},
        {"Europe/Rome", 60},
    };
    for (const Zone &z : zones) {
        ScopedTimeZone zone(z.tz);
        EXPECT_EQ(localZoneOffset(), z.offset) << z.tz;
    }
}

// "ravelin-cli render" from outside: the entire ECG it draws shades the pauses of a
// simulated rescue in the colours of their causes, with the reviewer's causes applied.
#include "cpr/HandsOff.h"
#include "ecg/CprPanel.h"
#include "ecg/EcgGeometry.h"
#include "ecg/PauseShading.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "CliRun.h"

namespace {

PauseCause causeNamed(const QString &name)
{
    for (size_t i = 0; i < PauseCauseCount; ++i)
        if (pauseCauseName(PauseCause(i)) == name)
            return PauseCause(i);
    ADD_FAILURE() << name.toStdString();
    return PauseCause::Other;
}

TEST(CliRender, TheEntireEcgShadesThePausesByCause)
{
    TempDir dir;
    const QString device = dir.file(QStringLiteral("device"));
    ASSERT_EQ(runCli({"simulate", device, "--minutes", "4", "--seed", "7"}).status, 0);
    const QString archive = runCli({"import", device, "--serial", "SN-5"}).out.trimmed();
    const QJsonObject cpr = QJsonDocument::fromJson(runCli({"cpr", archive}).out.toUtf8()).object();

    // The longest part of any pause outside the CPR periods (whose own shade lies beneath),
    // and a moment one second before its pause, amid compressions (the pause starts at the
    // last compression before its gap).
    const QJsonArray periods =
        QJsonDocument::fromJson(runCli({"info", archive}).out.toUtf8()).object()["cprPeriods"].toArray();
    const auto inCprPeriod = [&](const QJsonObject &q) {
        const int middle = q["startMs"].toInt() + q["lengthMs"].toInt() / 2;
        for (const QJsonValue period : periods)
            if (period[0].toInt() <= middle && middle < period[1].toInt())
                return true;
        return false;
    };
    QJsonObject pause, part;
    for (const QJsonValue p : cpr["pauses"].toArray())
        for (const QJsonValue q : p.toObject()["parts"].toArray())
            if (q.toObject()["lengthMs"].toInt() > part["lengthMs"].toInt() && !inCprPeriod(q.toObject())) {
                pause = p.toObject();
                part = q.toObject();
            }
    ASSERT_GE(part["lengthMs"].toInt(), 2000) << "a simulated rescue pauses for its analyses";
    const int32_t middle = part["startMs"].toInt() + part["lengthMs"].toInt() / 2;
    const int32_t inRun = pause["startMs"].toInt() - 1000;
    ASSERT_GT(inRun, cpr["firstCompressionMs"].toInt());

    // The picture centred on the part: row 3 from 15 s before the centre.
    const int at = middle / 1000;
    const EntireGeometry g = entireGeometry(1600, 900);
    const auto columnOf = [&](int32_t t) { return 50 + int((int64_t(t) - (at * 1000 - 15000)) * g.v / 1000); };
    const auto shadedPixels = [&](QRgb colour, int32_t t) {
        const QImage picture(dir.file(QStringLiteral("entire.png")));
        EXPECT_FALSE(picture.isNull());
        int n = 0;
        for (int y = g.rowTop(2); y < g.traceBottom(2); ++y)
            n += (picture.pixel(columnOf(t), y) & 0xFFFFFF) == colour;
        return n;
    };
    const auto render = [&] {
        const CliRun run = runCli({"render", archive, "--view", "entire", "--at", QString::number(at), "--size",
                                   "1600x900", "-o", dir.file(QStringLiteral("entire.png")), "--overwrite"});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
    };
    ASSERT_GE(columnOf(inRun), 50);

    render();
    const QRgb deviceShade = pauseShadeOnBackground(causeNamed(part["cause"].toString())).rgb() & 0xFFFFFF;
    EXPECT_GT(shadedPixels(deviceShade, middle), 5 * g.d / 2) << "the part's colour fills most of its column";
    EXPECT_EQ(shadedPixels(deviceShade, inRun), 0) << "none among the compressions";

    // The reviewer's cause kept in the review file replaces the device's reading.
    QFile review(archive + ".review.json");
    ASSERT_TRUE(review.open(QIODevice::ReadOnly));
    QJsonObject marks = QJsonDocument::fromJson(review.readAll()).object();
    review.close();
    marks["version"] = 3;
    marks["pauseCauses"] = QJsonArray{QJsonObject{{"startMs", pause["startMs"]}, {"cause", "transport"}}};
    ASSERT_TRUE(review.open(QIODevice::WriteOnly | QIODevice::Truncate));
    review.write(QJsonDocument(marks).toJson());
    review.close();
    render();
    EXPECT_GT(shadedPixels(pauseShadeOnBackground(PauseCause::Transport, true).rgb() & 0xFFFFFF, middle), 0);
    EXPECT_EQ(shadedPixels(deviceShade, middle), 0);
}

// The enlarged ECG's depth scale in the unit asked for: in centimetres a number stands at
// 2 cm, where the inch scale has none; without the option the scale is in inches.
TEST(CliRender, TheDepthScaleIsInTheUnitAskedFor)
{
    TempDir dir;
    const QString device = dir.file(QStringLiteral("device"));
    ASSERT_EQ(runCli({"simulate", device, "--minutes", "2", "--seed", "3", "--no-audio"}).status, 0);
    const QString archive = runCli({"import", device, "--serial", "SN-3"}).out.trimmed();
    const EnlargedGeometry g = enlargedGeometry(1000, 600, EnlargedView::EightSecond, true, false);
    const int twoCm = g.E + CprPanel::depthScale(CprDepthUnit::Centimetres, '.', g.R, g.scale.markerOffset)[1].y - 16;
    const auto inked = [&](const QStringList &unit) {
        const QString png = dir.file(QStringLiteral("strip %1.png").arg(unit.join(' ')));
        const CliRun run = runCli(QStringList{"render", archive, "--view", "8s", "--at", "60", "--size", "1000x600",
                                              "-o", png} + unit);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        const QImage picture(png);
        EXPECT_EQ(picture.size(), QSize(1000, 600));
        int n = 0;
        for (int y = twoCm; y < twoCm + 20 && !picture.isNull(); ++y)
            for (int x = 15; x < 35; ++x)
                n += (picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        return n;
    };
    EXPECT_EQ(inked({}), 0);
    EXPECT_EQ(inked({"--depth-unit", "in"}), 0);
    EXPECT_GT(inked({"--depth-unit", "cm"}), 0);
}

} // namespace

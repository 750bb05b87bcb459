// The incident log in a real browser: headless Chromium renders it, and a patient name
// that is a script stays text.
#include "report/IncidentLog.h"
#include "ecg/EcgCaseFixture.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class IncidentLogBrowserTest : public EcgCaseFixture, public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (m_chromium.isEmpty())
            GTEST_SKIP() << "chromium is not installed (scripts/setup --test installs it)";
    }

    // Runs headless Chromium with a fresh profile on a file; its standard output.
    QByteArray chromium(const QString &html, const QStringList &mode)
    {
        const QString profile = dir.mkdir(QStringLiteral("profile%1").arg(++m_runs));
        QStringList arguments{"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                              "--disable-background-networking", "--disable-component-update", "--disable-sync",
                              "--user-data-dir=" + profile};
        arguments << mode << QUrl::fromLocalFile(html).toString();
        QProcess process;
        process.start(m_chromium, arguments);
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
        }
        return process.readAllStandardOutput();
    }

    QString writeHtml(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.file(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    QString m_chromium;
    int m_runs = 0;
};

TEST_F(IncidentLogBrowserTest, RendersASimulatedCaseAndKeepsAScriptNameAsText)
{
    const int slot = simulatedCase(3.0, 7);
    CaseRecord &c = *view.store.caseAt(slot);
    c.lastName = QStringLiteral("<script>document.body.setAttribute('data-injected','1')</script>");
    c.firstName = QStringLiteral("Zoë");
    IncidentLog::ReportInput input;
    input.caseRecord = &c;
    input.shockCount = view.store.at(slot).shockCount;
    input.reportTime = CTime(2021, 3, 8, 10, 0, 0);
    const QString log = writeHtml("veltris_aed1.html", IncidentLog::document(input));

    // The harness sees a script that runs: the same attribute set by a real script.
    const QString control = writeHtml(
        "control.html", "<html><body><script>document.body.setAttribute('data-injected','1')</script></body></html>");
    ASSERT_TRUE(chromium(control, {"--dump-dom"}).contains("data-injected=\"1\""));

    const QString dom = QString::fromUtf8(chromium(log, {"--dump-dom"}));
    ASSERT_TRUE(dom.contains("Event Summary")) << dom.left(2000).toStdString();
    EXPECT_FALSE(dom.contains("data-injected=\"1\""));
    EXPECT_TRUE(dom.contains("Last Name: &lt;script&gt;document.body.setAttribute('data-injected','1')&lt;/script&gt;"))
        << dom.toStdString();
    EXPECT_TRUE(dom.contains(QStringLiteral("First Name: Zoë"))); // UTF-8 read as declared
    EXPECT_TRUE(dom.contains("Power on."));

    const QString shot = dir.file("log.png");
    chromium(log, {"--screenshot=" + shot, "--window-size=1000,1400", "--hide-scrollbars"});
    const QImage picture(shot);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(1000, 1400));
    // The header's green rules and blue titles, and black text, are on the page.
    int green = 0, blue = 0, dark = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor p = picture.pixelColor(x, y);
            green += p.green() > 100 && p.red() < 60 && p.blue() < 60;
            blue += p.blue() > 180 && p.red() < 80 && p.green() < 80;
            dark += p.red() < 60 && p.green() < 60 && p.blue() < 60;
        }
    }
    EXPECT_GT(green, 1000);
    EXPECT_GT(blue, 100);
    EXPECT_GT(dark, 2000);
}

} // namespace

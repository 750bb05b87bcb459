#include "tools/RenderArguments.h"

#include <gtest/gtest.h>

namespace {

RenderArguments parse(const QString &line)
{
    QStringList args{QStringLiteral("ravelin-cli render")};
    args += line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return RenderArguments::parse(args);
}

TEST(RenderArguments, DefaultsAndEveryOption)
{
    const RenderArguments d = parse("case.aed --view entire --at 95 -o out.png");
    ASSERT_EQ(d.outcome, RenderArguments::Outcome::Run) << qPrintable(d.message);
    EXPECT_EQ(d.archive, "case.aed");
    EXPECT_EQ(d.view, RenderArguments::View::Entire);
    EXPECT_EQ(d.atSeconds, 95);
    EXPECT_EQ(d.size, QSize(1600, 900));
    EXPECT_EQ(d.zoneRow, -1);
    EXPECT_TRUE(d.languagePack.isEmpty());
    EXPECT_EQ(d.output, "out.png");

    const RenderArguments a = parse("case.aed --view LARGE --at 0 --size 800x600 --zone 178 --lang-pack s.txt -o o.png");
    ASSERT_EQ(a.outcome, RenderArguments::Outcome::Run) << qPrintable(a.message);
    EXPECT_EQ(a.view, RenderArguments::View::Large);
    EXPECT_EQ(a.size, QSize(800, 600));
    EXPECT_EQ(a.zoneRow, 178);
    EXPECT_EQ(a.languagePack, "s.txt");

    for (const auto &[name, view] : {std::pair{"8s", RenderArguments::View::EightSecond},
                                     std::pair{"6s", RenderArguments::View::SixSecond}})
        EXPECT_EQ(parse(QStringLiteral("a --view %1 --at 1 -o o").arg(name)).view, view);

    EXPECT_EQ(parse("--help").outcome, RenderArguments::Outcome::Help);
}

TEST(RenderArguments, RefusesWhatCannotBeDrawn)
{
    const char *bad[] = {
        "--view 8s --at 1 -o o.png",                    // no archive
        "a b --view 8s --at 1 -o o.png",                // two archives
        "a --at 1 -o o.png",                            // no view
        "a --view 4s --at 1 -o o.png",
        "a --view 8s -o o.png",                         // no position
        "a --view 8s --at -1 -o o.png",
        "a --view 8s --at 1.5 -o o.png",
        "a --view 8s --at 2147484 -o o.png",            // beyond 32-bit case ms
        "a --view 8s --at 1 --size 0x10 -o o.png",
        "a --view 8s --at 1 --size 4001x10 -o o.png",
        "a --view 8s --at 1 --size 800 -o o.png",
        "a --view 8s --at 1 --zone 179 -o o.png",
        "a --view 8s --at 1 --zone x -o o.png",
        "a --view 8s --at 1",                           // no output
        "a --view 8s --at 1 --colour red -o o.png",
    };
    for (const char *line : bad) {
        const RenderArguments r = parse(QString::fromLatin1(line));
        EXPECT_EQ(r.outcome, RenderArguments::Outcome::Error) << line;
        EXPECT_FALSE(r.message.isEmpty()) << line;
    }
    EXPECT_EQ(parse("a --view 8s --at 2147483 --size 4000x4000 -o o").outcome, RenderArguments::Outcome::Run);
}

} // namespace

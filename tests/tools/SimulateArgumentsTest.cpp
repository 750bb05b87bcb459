#include "tools/SimulateArguments.h"

#include <gtest/gtest.h>

namespace {

SimulateArguments parse(const QStringList &own)
{
    return SimulateArguments::parse(QStringList{QStringLiteral("ravelin-cli simulate")} + own);
}

TEST(SimulateArguments, DefaultsAreAFewMinutesOfAQ26WithEverything)
{
    const SimulateArguments a = parse({"card"});
    ASSERT_EQ(a.outcome, SimulateArguments::Outcome::Run) << a.message.toStdString();
    EXPECT_EQ(a.folder, QStringLiteral("card"));
    EXPECT_EQ(a.options.model, DeviceFiles::Model::Q26);
    EXPECT_DOUBLE_EQ(a.options.minutes, 5.0);
    EXPECT_EQ(a.options.seed, 1u);
    EXPECT_TRUE(a.options.temperature);
    EXPECT_TRUE(a.options.audio);
}

TEST(SimulateArguments, EveryOptionIsTaken)
{
    const SimulateArguments a = parse({"--model", "q21", "--minutes", "600", "--seed", "4294967295", "--no-temp",
                                       "--no-audio", "--start", "2019-05-04 22:10:30", "/tmp/x"});
    ASSERT_EQ(a.outcome, SimulateArguments::Outcome::Run) << a.message.toStdString();
    EXPECT_EQ(a.folder, QStringLiteral("/tmp/x"));
    EXPECT_EQ(a.options.model, DeviceFiles::Model::Q21);
    EXPECT_DOUBLE_EQ(a.options.minutes, 600.0);
    EXPECT_EQ(a.options.seed, 4294967295u);
    EXPECT_FALSE(a.options.temperature);
    EXPECT_FALSE(a.options.audio);
    EXPECT_EQ(a.options.start, QDateTime(QDate(2019, 5, 4), QTime(22, 10, 30)));
    EXPECT_EQ(parse({"--model=Q25", "f"}).options.model, DeviceFiles::Model::Q25);
}

TEST(SimulateArguments, BadArgumentsAreRefusedWithAReason)
{
    struct Case
    {
        QStringList arguments;
        const char *reason;
    };
    const Case cases[] = {
        {{}, "no FOLDER"},
        {{"a", "b"}, "one FOLDER only"},
        {{"--model", "Q27", "f"}, "--model"},
        {{"--minutes", "0", "f"}, "--minutes"},
        {{"--minutes", "-3", "f"}, "--minutes"},
        {{"--minutes", "1441", "f"}, "--minutes"},
        {{"--minutes", "nan", "f"}, "--minutes"},
        {{"--minutes", "five", "f"}, "--minutes"},
        {{"--seed", "-1", "f"}, "--seed"},
        {{"--seed", "4294967296", "f"}, "--seed"},
        {{"--start", "2008-12-31T10:00:00", "f"}, "--start"},
        {{"--start", "yesterday", "f"}, "--start"},
        {{"--colour", "f"}, "colour"},
        {{"f", "--minutes"}, "minutes"},
    };
    for (const Case &c : cases) {
        const SimulateArguments a = parse(c.arguments);
        EXPECT_EQ(a.outcome, SimulateArguments::Outcome::Error) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(a.message.contains(QLatin1String(c.reason)))
            << c.arguments.join(' ').toStdString() << ": " << a.message.toStdString();
    }
}

TEST(SimulateArguments, HelpDescribesTheCommand)
{
    const SimulateArguments a = parse({"--help"});
    EXPECT_EQ(a.outcome, SimulateArguments::Outcome::Help);
    EXPECT_TRUE(a.message.startsWith(QStringLiteral("usage: ravelin-cli simulate FOLDER")));
    EXPECT_TRUE(a.message.contains(QStringLiteral("--no-audio")));
}

} // namespace

#include "base/LanguagePack.h"

#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QByteArray utf16le(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QList<QStringList> allTexts(const LanguagePack &pack)
{
    QList<QStringList> out;
    for (int n = 0; n < pack.textCount(); ++n)
        out.append(pack.columns(n));
    return out;
}

struct PackCase {
    const char *name;
    QString content;
    int language;
    QList<QStringList> texts;
};

class LanguagePackParse : public ::testing::TestWithParam<PackCase> {};

TEST_P(LanguagePackParse, ReadsLinesColumnsAndHeader)
{
    const PackCase &c = GetParam();
    LanguagePack pack;
    pack.parseUtf16(utf16le(c.content));
    EXPECT_EQ(pack.language(), c.language);
    EXPECT_EQ(allTexts(pack), c.texts);
}

const QStringList AB{"A", "B"};
const QStringList CD{"C", "D"};

INSTANTIATE_TEST_SUITE_P(
    Inputs, LanguagePackParse,
    ::testing::Values(
        PackCase{"LF", "language\t2\nA\tB\nC\tD\n", 2, {AB, CD}},
        PackCase{"CRLF", "language\t1\r\nA\tB\r\nC\tD\r\n", 1, {AB, CD}},
        // A CR takes the character after it along, whatever that is.
        PackCase{"CROnlyEatsNextCharacter", "language\t2\rxA\tB\ryC\tD", 2, {AB, CD}},
        PackCase{"CRThenCRIsOneLineEnd", "language\t2\r\rA\tB", 2, {AB}},
        PackCase{"LastLineWithoutEnd", "language\t1\r\nA\tB\r\nC\tD", 1, {AB, CD}},
        PackCase{"EmptyLineIsOneEmptyColumn", "language\t1\n\nC\tD\n", 1, {{""}, CD}},
        PackCase{"ColumnsKeptAsMany", "language\t1\nA\nC\tD\tE\t\n", 1, {{"A"}, {"C", "D", "E", ""}}},
        PackCase{"BomBelongsToHeader", QString(QChar(0xFEFF)) + "language\t2\r\nA\tB\r\n", 2, {AB}},
        PackCase{"HeaderZero", "language\t0\nA\tB", 0, {AB}},
        PackCase{"HeaderBlanksAndTrailingJunk", "language\t 2x\nA\tB", 2, {AB}},
        PackCase{"HeaderPlusSign", "language\t+2\nA\tB", 2, {AB}},
        PackCase{"HeaderTruncatedToOneByte", "language\t258\nA\tB", 2, {AB}},
        PackCase{"HeaderNegative", "language\t-1\nA\tB", 255, {AB}},
        PackCase{"HeaderHuge", "language\t99999999999999999999\nA\tB", 255, {AB}},
        PackCase{"HeaderOneColumn", "language\nA\tB", 0, {AB}},
        PackCase{"HeaderEmptyLine", "\nA\tB", 0, {AB}},
        PackCase{"HeaderNonNumeric", "language\tItalian\nA\tB", 0, {AB}},
        PackCase{"EmptyFile", "", 0, {}}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(LanguagePack, OddTrailingByteIsNotACharacter)
{
    LanguagePack pack;
    pack.parseUtf16(utf16le("language\t1\nA\tB") + QByteArray("\x43", 1));
    EXPECT_EQ(allTexts(pack), (QList<QStringList>{AB}));
}

TEST(LanguagePack, GetTextReadsTheLanguagesColumnAndIsEmptyOutsideThePack)
{
    LanguagePack pack;
    pack.parseUtf16(utf16le("language\t2\nEnglish\tItaliano\nOnly\n"));
    EXPECT_EQ(pack.GetText(0), "Italiano");
    EXPECT_TRUE(pack.hasText(0));
    EXPECT_EQ(pack.GetText(1), "");  // line without a second column
    EXPECT_FALSE(pack.hasText(1));
    EXPECT_EQ(pack.GetText(2), "");
    EXPECT_EQ(pack.GetText(-1), "");

    pack.setLanguage(1);
    EXPECT_EQ(pack.GetText(1), "Only");
    pack.setLanguage(0);
    EXPECT_EQ(pack.GetText(0), "");
    pack.setLanguage(3);
    EXPECT_EQ(pack.GetText(0), "");
}

TEST(LanguagePack, MissingFileFallsBackToBuiltInEnglish)
{
    TempDir dir;
    LanguagePack pack;
    pack.parseUtf16(utf16le("language\t2\nX\tY"));  // loading starts afresh
    EXPECT_FALSE(pack.load(dir.file("string.txt")));
    EXPECT_EQ(pack.language(), 1);
    EXPECT_EQ(pack.textCount(), 212);
    EXPECT_EQ(pack.GetText(0), "English");
    EXPECT_EQ(pack.GetText(TextId::Caption), "Lumeron AED Event review software");
}

TEST(LanguagePack, FileThatOpensIsUsedEvenWhenUnusable)
{
    TempDir dir;
    // A UTF-8 pack read as 16-bit units gives no usable header and no fallback.
    const QString path = dir.write("string.txt", QByteArray("language\t1\r\nEnglish\tItaliano\r\n"));
    LanguagePack pack;
    EXPECT_TRUE(pack.load(path));
    EXPECT_EQ(pack.language(), 0);
    EXPECT_EQ(pack.textCount(), 0);

    const QString empty = dir.write("empty.txt", QByteArray());
    EXPECT_TRUE(pack.load(empty));
    EXPECT_EQ(pack.textCount(), 0);
    EXPECT_EQ(pack.GetText(66), "");
}

TEST(LanguagePack, DeployedPathIsBesideTheProgram)
{
    EXPECT_EQ(LanguagePack::deployedPath(), QCoreApplication::applicationDirPath() + "/string.txt");
}

TEST(LanguagePack, BuiltInPackIsFoundInResourcesWithExactEnglishTexts)
{
    ASSERT_TRUE(QFile::exists(":/builtin_string.txt"));
    LanguagePack pack;
    pack.loadBuiltIn();
    EXPECT_EQ(pack.language(), 1);
    ASSERT_EQ(pack.textCount(), 212);
    for (int n = 0; n < pack.textCount(); ++n)
        EXPECT_EQ(pack.columns(n).size(), 2) << "text " << n;
    EXPECT_EQ(pack.GetText(TextId::WindowTitle), "Lumeron AED Event review software           _VELTRIS_");
    EXPECT_EQ(pack.GetText(63), "Patient impedance ");
    EXPECT_EQ(pack.GetText(104), "General ");
    EXPECT_EQ(pack.GetText(105), "Entire ECG ");
    EXPECT_EQ(pack.GetText(106), "Enlarged ECG ");
    EXPECT_EQ(pack.GetText(1), "Prompt : Check for response. Are you all right?");
    EXPECT_EQ(pack.GetText(81), "The folder you picked does not contain the file 'AED CT Data.MIF'.");
    EXPECT_EQ(pack.GetText(93), "The folder you picked does not contain the file 'AED Trend Data.MIF'.");
    EXPECT_EQ(pack.GetText(169), "(data file is only for the Lumeron AED Evevt Review Software).");
    EXPECT_EQ(pack.GetText(172), "Prompt : Shock canceled(Hard Fault)");
}

TEST(LanguagePack, BuiltInBytesHaveCrLfBetweenLinesAndNoFinalLineEnd)
{
    QFile resource(":/builtin_string.txt");
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    const QByteArray bytes = resource.readAll();
    EXPECT_TRUE(bytes.startsWith("language\t1\r\nEnglish\t"));
    EXPECT_FALSE(bytes.endsWith('\n'));
    EXPECT_EQ(bytes.count('\n'), 212);
    EXPECT_EQ(bytes.count('\r'), 212);
}

// The deployed pack beside the program and the built-in one carry the same texts.
TEST(LanguagePack, DeployedPackMatchesBuiltInPack)
{
    const QString source = QStringLiteral(RAVELIN_SOURCE_DIR "/resources/string.txt");
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << source.toStdString();
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xFF\xFE"));

    LanguagePack deployed;
    deployed.parseUtf16(bytes);
    EXPECT_EQ(deployed.language(), 0);
    LanguagePack builtIn;
    builtIn.loadBuiltIn();

    ASSERT_EQ(deployed.textCount(), 212);
    for (int n = 0; n < deployed.textCount(); ++n)
        EXPECT_EQ(deployed.columns(n).size(), 2) << "text " << n;
    EXPECT_EQ(allTexts(deployed), allTexts(builtIn));
    EXPECT_EQ(deployed.columns(0), (QStringList{"English", "Italiano"}));
}

} // namespace

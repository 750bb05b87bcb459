#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// The table of numbered user-interface texts, one column per language. Text n comes
// from line n + 1 of the pack (line 0 is the header, whose second column selects the
// language: 0 = ask the user, 1 = first column, 2 = second column).
class LanguagePack
{
public:
    // Reads string.txt (UTF-16LE) at path when it opens, else the built-in pack.
    // Returns true when the file was used.
    bool load(const QString &path);
    // Reads a UTF-16LE pack; false when the file cannot be opened (nothing changes then).
    bool loadFile(const QString &path);
    // The pack built into the program (English and a second column; header 1).
    void loadBuiltIn();
    // Parses the bytes of a UTF-16LE pack with its line rules (LF, CR, CR LF).
    void parseUtf16(const QByteArray &bytes);

    // Column (language - 1) of text number; empty when the pack has no such text or column.
    QString GetText(int number) const;
    // Whether GetText(number) comes from the pack (the text and its column exist).
    bool hasText(int number) const;

    // 0 = not chosen, 1 = first column (English), 2 = second column (Italian).
    uint8_t language() const { return m_language; }
    void setLanguage(uint8_t language) { m_language = language; }
    bool isItalian() const { return m_language == 2; }
    // The language's decimal separator: a point in English, a comma in Italian.
    QChar decimalSeparator() const { return isItalian() ? QLatin1Char(',') : QLatin1Char('.'); }
    // text with the point of each decimal number ("64.5 %", "2.0–2.4 in") written with the
    // language's separator; points elsewhere (a version "1.0.3.8", a sentence's end) stay.
    QString localNumbers(const QString &text) const;

    int textCount() const { return int(m_texts.size()); }
    const QStringList &columns(int number) const { return m_texts.at(number); }

    // Path of the deployed string.txt of the running program (deployedPathFor its folder).
    static QString deployedPath();
    // string.txt beside the program in programFolder when it is there (a build folder, a copied
    // program), else the installed one in the data folder (../share/ravelin/ from bin/) when that
    // is there, else the path beside the program (which then loads the built-in pack).
    static QString deployedPathFor(const QString &programFolder);

private:
    void parseLines(const QStringList &lines);

    QList<QStringList> m_texts;
    uint8_t m_language = 0;
};

// Text numbers used by more than one place.
namespace TextId {
constexpr int Caption = 66;          // caption of the program's message boxes
constexpr int WindowTitle = 65;
constexpr int UnsavedChanges = 70;
constexpr int SelectCase = 72;
constexpr int NoCaseLoaded = 103;
}

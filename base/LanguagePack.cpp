#include "base/LanguagePack.h"

#include "base/BinaryReader.h"
#include "base/ProgramInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <climits>

namespace {

// The built-in pack, kept in the program's resources as UTF-8 text.
const char *const BuiltInResource = ":/builtin_string.txt";

// Decimal conversion in the manner of the C library's atoi: leading blanks, an optional
// sign, then digits up to the first non-digit; no digits gives 0. Out-of-range values
// stop at the int limits instead of overflowing.
int decimalValue(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

} // namespace

bool LanguagePack::load(const QString &path)
{
    m_texts.clear();
    m_language = 0;
    if (loadFile(path))
        return true;
    loadBuiltIn();
    return false;
}

bool LanguagePack::loadFile(const QString &path)
{
    // A file that cannot be read (or is no file at all) is treated like a missing one.
    QByteArray bytes;
    try {
        bytes = BinaryReader::readWholeFile(path);
    } catch (const FileError &) {
        return false;
    }
    parseUtf16(bytes);
    return true;
}

void LanguagePack::loadBuiltIn()
{
    m_texts.clear();
    m_language = 0;
    QFile resource(QString::fromLatin1(BuiltInResource));
    if (!resource.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = resource.readAll();
    if (bytes.isEmpty())
        return;
    QString text = QString::fromUtf8(bytes);
    text.remove(u'\r');
    // Every LF separates two lines, so a trailing LF would give an empty last line.
    parseLines(text.split(u'\n'));
}

void LanguagePack::parseUtf16(const QByteArray &bytes)
{
    m_texts.clear();
    m_language = 0;

    // Whole 16-bit little-endian units; an odd last byte is not a character.
    const qsizetype units = bytes.size() / 2;
    const auto unitAt = [&bytes](qsizetype i) {
        return char16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
    };

    QStringList lines;
    QString line;
    bool pending = false;  // characters (or nothing yet) since the last line end
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t c = unitAt(i);
        if (c == u'\n' || c == u'\r') {
            lines.append(line);
            line.clear();
            pending = false;
            if (c == u'\r')
                ++i;  // CR takes the next character with it, so CR LF is one line end
            continue;
        }
        line.append(QChar(c));
        pending = true;
    }
    if (pending)
        lines.append(line);
    parseLines(lines);
}

void LanguagePack::parseLines(const QStringList &lines)
{
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringList columns = lines[n].split(u'\t');
        if (n == 0) {
            if (columns.size() > 1)
                m_language = uint8_t(unsigned(decimalValue(columns[1])) & 0xFFu);
            continue;
        }
        m_texts.append(std::move(columns));
    }
}

bool LanguagePack::hasText(int number) const
{
    return number >= 0 && number < m_texts.size() && m_language >= 1 && m_language <= m_texts[number].size();
}

QString LanguagePack::GetText(int number) const
{
    if (!hasText(number))
        return QString();
    return m_texts[number][m_language - 1];
}

QString LanguagePack::deployedPath()
{
    return deployedPathFor(QCoreApplication::applicationDirPath());
}

QString LanguagePack::deployedPathFor(const QString &programFolder)
{
    const QString beside = programFolder + QStringLiteral("/string.txt");
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(programFolder + QLatin1Char('/')
                                              + QLatin1String(ProgramInfo::DataFolderFromProgram)
                                              + QStringLiteral("/string.txt"));
    return QFileInfo::exists(installed) ? installed : beside;
}

QString LanguagePack::localNumbers(const QString &text) const
{
    const QChar separator = decimalSeparator();
    if (separator == QLatin1Char('.'))
        return text;
    // A point between two digits whose number holds no other point.
    static const QRegularExpression decimalPoint(QStringLiteral("(?<![\\d.])(\\d+)\\.(\\d+)(?![\\d.])"));
    QString out = text;
    out.replace(decimalPoint, QStringLiteral("\\1") + separator + QStringLiteral("\\2"));
    return out;
}

#include "base/FileError.h"

#include "base/LanguagePack.h"
#include "base/MessageTexts.h"

FileError::FileError(QString path, Kind kind, QString detail)
    : m_path(std::move(path)), m_kind(kind), m_detail(std::move(detail))
{
    m_what = message().toUtf8();
}

namespace {

int kindText(FileError::Kind kind)
{
    using K = FileError::Kind;
    switch (kind) {
    case K::NotFound: return MessageText::FileNotFound;
    case K::OpenFailed: return MessageText::FileOpenFailed;
    case K::CreateFailed: return MessageText::FileCreateFailed;
    case K::WriteFailed: return MessageText::FileWriteFailed;
    case K::EndOfFile: return MessageText::FileEndOfFile;
    case K::BadFormat: return MessageText::FileBadFormat;
    case K::NotAFile: return MessageText::FileNotAFile;
    case K::TooLarge: return MessageText::FileTooLarge;
    }
    return MessageText::FileBadFormat;
}

// The pack's text in its language whose English column is english; english itself when
// the pack has none.
QString translated(const LanguagePack &texts, const QString &english)
{
    for (int n = 0; n < texts.textCount(); ++n)
        if (texts.columns(n).value(0) == english && texts.hasText(n))
            return texts.GetText(n);
    return english;
}

} // namespace

QString FileError::message(const LanguagePack &texts) const
{
    if (!texts.hasText(kindText(m_kind)))
        return message();
    QString text = texts.GetText(kindText(m_kind)).arg(m_path);
    if (!m_detail.isEmpty())
        text += QLatin1Char('\n') + translated(texts, m_detail);
    return text;
}

QString FileError::message() const
{
    QString text;
    switch (m_kind) {
    case Kind::NotFound: text = QStringLiteral("%1 was not found."); break;
    case Kind::OpenFailed: text = QStringLiteral("%1 cannot be opened."); break;
    case Kind::CreateFailed: text = QStringLiteral("%1 cannot be created."); break;
    case Kind::WriteFailed: text = QStringLiteral("An error occurred while writing %1."); break;
    case Kind::EndOfFile: text = QStringLiteral("Attempted to access %1 past its end."); break;
    case Kind::BadFormat: text = QStringLiteral("An unknown error occurred while accessing %1."); break;
    case Kind::NotAFile: text = QStringLiteral("%1 is not a file (a folder, a device or a pipe) and was not read."); break;
    case Kind::TooLarge: text = QStringLiteral("%1 is larger than a file of its kind can be and was not read."); break;
    }
    text = text.arg(m_path);
    if (!m_detail.isEmpty())
        text += QLatin1Char('\n') + m_detail;
    return text;
}

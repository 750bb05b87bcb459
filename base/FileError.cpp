#include "base/FileError.h"

FileError::FileError(QString path, Kind kind, QString detail)
    : m_path(std::move(path)), m_kind(kind), m_detail(std::move(detail))
{
    m_what = message().toUtf8();
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

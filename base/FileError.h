#pragma once

#include <QString>
#include <exception>

class LanguagePack;

// The one error of the file layer: what went wrong with which file. The command that
// started the work catches it and shows message() to the user.
class FileError : public std::exception
{
public:
    enum class Kind {
        NotFound,      // the file does not exist
        OpenFailed,    // exists but cannot be opened for reading
        CreateFailed,  // cannot be created or opened for writing
        WriteFailed,   // writing, flushing or renaming failed
        EndOfFile,     // a read past the end, or a length longer than what is left
        BadFormat,     // the bytes are not what this kind of file can hold (an impossible length)
        NotAFile,      // a folder, a device or a pipe (or a link to one) where a file was expected
        TooLarge,      // longer than any file of its kind can be
    };

    FileError(QString path, Kind kind, QString detail = {});

    const QString &path() const { return m_path; }
    Kind kind() const { return m_kind; }
    const QString &detail() const { return m_detail; }
    // Text for the user, naming the file ("%1 was not found."), then the detail (the
    // system's reason) on a line of its own.
    QString message() const;
    // The same in the pack's language: the kind's text and, where the detail is one of the
    // pack's English texts, its translation (the system's reasons come translated by Qt).
    QString message(const LanguagePack &texts) const;
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_path;
    Kind m_kind;
    QString m_detail;
    QByteArray m_what;
};

#include "case/DeviceFolderFiles.h"

#include <QDir>
#include <QFileInfo>

DeviceFolderFiles::DeviceFolderFiles(QString folder) : m_folder(std::move(folder)) {}

QString DeviceFolderFiles::exactPath(const QString &name) const
{
    return m_folder.endsWith(QLatin1Char('/')) ? m_folder + name : m_folder + QLatin1Char('/') + name;
}

QString DeviceFolderFiles::matchingName(const QString &name) const
{
    if (QFileInfo(exactPath(name)).isFile())
        return name;
    if (!m_files)
        m_files = m_folder.isEmpty() ? QStringList()
                                     : QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &file : std::as_const(*m_files)) {
        if (file.compare(name, Qt::CaseInsensitive) == 0)
            return file;
    }
    return QString();
}

QString DeviceFolderFiles::filePath(const QString &name) const
{
    const QString found = matchingName(name);
    return exactPath(found.isEmpty() ? name : found);
}

bool DeviceFolderFiles::hasFile(const QString &name) const
{
    return !matchingName(name).isEmpty();
}

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// An empty file whose path below a folder is given as bytes, so that it may be a name that is
// not valid UTF-8: one Qt cannot name, nor remove with the folder. The folders of the path that
// were not there are made for it; the file and those folders go when it does.
class RawNameFile
{
public:
    RawNameFile(const QString &folder, const QByteArray &relative)
    {
        const QByteArray root = QFile::encodeName(folder);
        for (qsizetype slash = relative.indexOf('/'); slash >= 0; slash = relative.indexOf('/', slash + 1)) {
            const QByteArray sub = root + '/' + relative.left(slash);
            if (::mkdir(sub.constData(), 0700) == 0)
                m_folders.push_back(sub);
        }
        m_path = root + '/' + relative;
        const int fd = ::open(m_path.constData(), O_CREAT | O_EXCL | O_WRONLY, 0600);
        m_made = fd >= 0;
        if (m_made)
            ::close(fd);
    }
    ~RawNameFile()
    {
        if (m_made)
            ::unlink(m_path.constData());
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it)
            ::rmdir(it->constData());
    }
    RawNameFile(const RawNameFile &) = delete;
    RawNameFile &operator=(const RawNameFile &) = delete;

    bool made() const { return m_made; }

private:
    QByteArray m_path;
    std::vector<QByteArray> m_folders;
    bool m_made = false;
};

#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

// The archives opened last, newest first and at most five, kept in the per-user settings
// (group "Recent File List", keys "File1" to "File5") so that the File menu offers them
// again in the next run. A path is listed once.
class RecentFileList
{
public:
    static constexpr int MaxEntries = 5;

    // In the application's own settings.
    RecentFileList();
    // In settings (tests).
    explicit RecentFileList(std::unique_ptr<QSettings> settings);
    ~RecentFileList();

    QStringList files() const;
    // Puts path first; the oldest entry beyond five goes.
    void add(const QString &path);
    void remove(const QString &path);

private:
    void store(const QStringList &files);

    std::unique_ptr<QSettings> m_settings;
};

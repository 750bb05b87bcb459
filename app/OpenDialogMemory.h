#pragma once

#include <QString>
#include <memory>

class OpenDialogLogic;
class QSettings;

// What the Open dialog and the file dialogs remember from one use to the next, in the
// program's settings: the serial number typed, the time-zone row chosen and the folder of
// the last file or folder picked.
class OpenDialogMemory
{
public:
    OpenDialogMemory();                                      // the program's settings
    explicit OpenDialogMemory(std::unique_ptr<QSettings> settings);
    ~OpenDialogMemory();

    // Fills a freshly started dialog's serial number and zone row with the last ones, where
    // there are any (a row out of the table is ignored).
    void restore(OpenDialogLogic &logic) const;
    // Keeps what a dialog closed by one of its buttons was left with.
    void remember(const OpenDialogLogic &logic);

    // The folder the next file dialog starts in; "" before any was picked.
    QString lastFolder() const;
    // A file or folder was picked: its folder (a folder itself) is the next start.
    void rememberPick(const QString &path, bool isFolder);

private:
    std::unique_ptr<QSettings> m_settings;
};

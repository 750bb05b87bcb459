#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The files of a device folder, found by name without regard to case: cards copied by
// other tools or computers do not always keep the case of the names ("q21 ct data.mif").
// The folder is listed only when a name is not there exactly, and a listing is shared with
// later lookups in the same folder while the folder stays as it was.
class DeviceFolderFiles
{
public:
    explicit DeviceFolderFiles(QString folder);

    // The path of the file named name: the exact name when a file has it, else the first
    // file in name order whose name differs only in case, else the exact name's path.
    QString filePath(const QString &name) const;
    // True when a file (or a link to one) has the name, without regard to case.
    bool hasFile(const QString &name) const;
    // The names of the folder's files (links to files included), in name order.
    QStringList names() const;

private:
    QString exactPath(const QString &name) const;
    QString matchingName(const QString &name) const;

    QString m_folder;
    mutable std::optional<QStringList> m_files;
};

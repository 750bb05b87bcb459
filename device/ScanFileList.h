#pragma once

#include <QString>
#include <QStringList>

// The file and folder lists of a folder-scan import: every file below a chosen root, in
// an order that puts device folders named by numbers ("1", "2", "10") in numeric order,
// and the distinct folders of those files.
namespace ScanFileList {

// Everything of path before its last '/' ("/" for a file in the root, "" without any '/').
QString folderOf(const QString &path);

// Sorts full file paths: by folder first, folders compared name by name from the root by
// the decimal number each name starts with (no digits count as 0; a parent before its
// sub-folders), then files of one folder by the number their names start with. Equal
// numbers fall back to the plain text, so the order is total and each folder's files stay
// together.
void sortScanFiles(QStringList &files);

// Every file below root, sub-folders at any depth, sorted as above. Hidden files count;
// links to folders are not followed.
QStringList collectFiles(const QString &root);

// The distinct folders of sorted files, in the order first met (no trailing '/').
QStringList distinctFolders(const QStringList &files);

} // namespace ScanFileList

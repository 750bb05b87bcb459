#pragma once

#include <QString>

class CaseSession;

// Save and Save As: writes a case to an archive the user names, with its patient fields and
// annotations as they are now. The Save dialog starts in the folder of the case's own archive
// with its name proposed, so accepting the proposal replaces that archive (the files beside
// it stay). The archive keeps the device's own start; a start typed with "Adjust..." stays in
// the review file (written beside a new archive too). Returns true when the file was written;
// the case is then unchanged and stays with the archive it came from. A case open read-only
// (another reviewer holds it) is never written.
bool SaveCase(CaseSession &session, int slot);
// The same for the case selected in the tree (the Save commands of the menu).
bool SaveSelectedCase(CaseSession &session);

// The initial file name Save proposes: the source path's file name without its last four
// characters (the ".aed").
QString initialSaveName(const QString &sourcePath);
// The path Save proposes: initialSaveName in the folder of the source path.
QString initialSavePath(const QString &sourcePath);

#pragma once

#include <QString>

class CaseSession;

// Save and Save As: writes the case selected in the tree to an archive the user names,
// with its patient fields and annotations as they are now. Returns true when the file
// was written.
bool SaveSelectedCase(CaseSession &session);

// The initial file name Save proposes: the source path's file name without its last four
// characters (the ".aed").
QString initialSaveName(const QString &sourcePath);

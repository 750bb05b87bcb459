#pragma once

#include <QString>

// True when both paths name one existing file or folder, however they are spelt: links
// followed, "." and "..", hard links and the case of a name on a file system that ignores it
// are all the same file. A path that does not exist is the same only as its own clean spelling.
bool isSameFile(const QString &a, const QString &b);

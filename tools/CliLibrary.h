#pragma once

#include <QString>
#include <memory>

class CaseLibrary;
class QTextStream;

// The case library a "ravelin-cli library" run names with --db ("" for the program's own
// file), open; none after why went to err after the command's name. A privacy warning goes
// to err too.
std::unique_ptr<CaseLibrary> openCliLibrary(const QString &db, QTextStream &err, const QString &name);

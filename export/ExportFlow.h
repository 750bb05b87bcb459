#pragma once

#include "export/CaseExport.h"

#include <QString>
#include <functional>

class CaseSession;

// The export commands of the window ("Export Entire ECG...", File > Export): a small form of
// options (Anonymise, and for EDF+ With compressions), a save dialog that starts beside the
// case's archive (shown again after refusing a file an open case is read from), the progress
// window while the file is laid out, and the file written whole or not at all. Every question
// and message goes through the session's platform.
class ExportFlow
{
public:
    explicit ExportFlow(CaseSession &session) : m_session(session) {}

    // Exports the case in slot; true when a file was written. options tick the form's boxes
    // as it opens. No case in slot, a case that has nothing of the kind, or a file that cannot
    // be written gets a message; a cancelled form or save dialog writes nothing.
    bool run(int slot, ExportKind kind, const ExportOptions &options = {});

    // Called after each file written, with its kind, whether it was anonymised and its path.
    std::function<void(ExportKind kind, bool anonymised, const QString &path)> onExported;

private:
    // The options form; false when cancelled.
    bool askOptions(ExportKind kind, ExportOptions &options);

    CaseSession &m_session;
};

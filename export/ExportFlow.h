#pragma once

#include "export/CaseExport.h"

class CaseSession;

// The export commands of the window ("Export Entire ECG...", File > Export): a save dialog
// that starts beside the case's archive (shown again after refusing a file an open case is
// read from), the progress window while the file is laid out, and the file written whole or
// not at all. Every question and message goes through the session's platform.
class ExportFlow
{
public:
    explicit ExportFlow(CaseSession &session) : m_session(session) {}

    // Exports the case in slot; true when a file was written. No case in slot, a case that
    // has nothing of the kind, or a file that cannot be written gets a message.
    bool run(int slot, ExportKind kind, const EdfExportOptions &options = {});

private:
    CaseSession &m_session;
};

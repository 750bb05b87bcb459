#pragma once

#include "archive/OpenFlow.h"
#include "case/CaseSession.h"

#include <QString>

// "Load AED File" of one archive without the Open dialog, as the window's command does:
// true when the archive opened.
inline bool openArchiveFile(CaseSession &session, const QString &path)
{
    OpenFlow flow(session);
    flow.OpenArchiveFile(path);
    return flow.openedSlot() >= 0;
}

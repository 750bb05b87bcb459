#pragma once

#include "case/AuditAction.h"

#include <QString>
#include <cstdint>
#include <optional>

// One line of a library's audit trail: who did what to which recording, when. Details name
// what changed (a field's name, an export's format), never a patient value.
struct AuditEntry
{
    int64_t id = 0;        // the order of the trail
    int64_t atMs = 0;      // ms since 1970, UTC
    QString reviewer;
    QString host;
    QString recordingId;
    QString archivePath;
    QString action;        // one of AuditAction
    QString details;
};


// Which entries a look at the trail takes: one recording's ("" for all), from and to a time
// (ms since 1970 UTC, both included).
struct AuditQuery
{
    QString recordingId;
    std::optional<int64_t> fromMs;
    std::optional<int64_t> toMs;
};

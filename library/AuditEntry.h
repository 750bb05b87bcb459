#pragma once

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

// The actions the trail records, as it writes them.
namespace AuditAction {
inline constexpr char Imported[] = "imported";
inline constexpr char Opened[] = "opened";
inline constexpr char OpenedReadOnly[] = "opened read-only";
inline constexpr char FieldChanged[] = "field changed";
inline constexpr char AnnotationAdded[] = "annotation added";
inline constexpr char AnnotationEdited[] = "annotation edited";
inline constexpr char AnnotationDeleted[] = "annotation deleted";
inline constexpr char ReviewMarksChanged[] = "review marks changed";
inline constexpr char Saved[] = "saved";
inline constexpr char Exported[] = "exported";
inline constexpr char Printed[] = "printed";
inline constexpr char StatusChanged[] = "status changed";
inline constexpr char LockTakenOver[] = "lock taken over";
} // namespace AuditAction

// Which entries a look at the trail takes: one recording's ("" for all), from and to a time
// (ms since 1970 UTC, both included).
struct AuditQuery
{
    QString recordingId;
    std::optional<int64_t> fromMs;
    std::optional<int64_t> toMs;
};

#pragma once

#include <QString>
#include <cstdint>

// The actions the audit trail records, as it writes them.
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

// What an annotation's audit entry says of it: its case time only ("at 83.250 s"), never its
// title or body.
inline QString annotationAuditDetails(int32_t timeMs)
{
    return QStringLiteral("at %1 s").arg(QString::number(timeMs / 1000.0, 'f', 3));
}

#pragma once

#include "library/AuditEntry.h"

#include <QDialog>
#include <vector>

class LanguagePack;
class QTableWidget;

// The audit trail of one recording, oldest first: when (UTC), who, from which computer, what
// and its details. Read-only; it shows what it was given.
class CaseHistoryDialog : public QDialog
{
    Q_OBJECT
public:
    CaseHistoryDialog(LanguagePack &texts, const QString &archivePath, const std::vector<AuditEntry> &entries,
                      QWidget *parent = nullptr);

    QTableWidget *entriesTable() const { return m_entries; }

private:
    QTableWidget *m_entries = nullptr;
};

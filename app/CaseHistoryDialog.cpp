#include "app/CaseHistoryDialog.h"

#include "base/LanguagePack.h"
#include "library/LibraryText.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QTableWidget>
#include <QTimeZone>
#include <QVBoxLayout>

CaseHistoryDialog::CaseHistoryDialog(LanguagePack &texts, const QString &archivePath,
                                     const std::vector<AuditEntry> &entries, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(texts.GetText(LibraryText::HistoryCaption).arg(QDir::toNativeSeparators(archivePath)));
    resize(820, 400);
    m_entries = new QTableWidget(int(entries.size()), 5);
    m_entries->setHorizontalHeaderLabels({texts.GetText(LibraryText::TimeUtc), texts.GetText(LibraryText::Reviewer),
                                          texts.GetText(LibraryText::Host), texts.GetText(LibraryText::Action),
                                          texts.GetText(LibraryText::Details)});
    m_entries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_entries->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_entries->verticalHeader()->hide();
    m_entries->horizontalHeader()->setStretchLastSection(true);
    m_entries->setWordWrap(false);
    for (int row = 0; row < int(entries.size()); ++row) {
        const AuditEntry &e = entries[std::size_t(row)];
        const QStringList values = {
            QDateTime::fromMSecsSinceEpoch(e.atMs, QTimeZone::utc()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            e.reviewer, e.host, e.action, e.details};
        for (int column = 0; column < int(values.size()); ++column)
            m_entries->setItem(row, column, new QTableWidgetItem(values[column]));
    }
    m_entries->resizeColumnsToContents();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_entries, 1);
    layout->addWidget(buttons);
}

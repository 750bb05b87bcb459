#include "app/CAboutDlg.h"

#include "app/Icons.h"
#include "base/LanguagePack.h"
#include "base/ProgramInfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const LanguagePack &texts, QWidget *parent) : QDialog(parent), m_version(new QLabel(this))
{
    setWindowTitle(texts.GetText(140));
    m_version->setText(versionLineText(texts.GetText(141), QLatin1String(ProgramInfo::Version)));

    auto *icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(Icons::programImage(32)));

    auto *ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(ok);
    buttonColumn->addStretch();

    auto *row = new QHBoxLayout(this);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addWidget(m_version, 1, Qt::AlignTop);
    row->addSpacing(24);
    row->addLayout(buttonColumn);
    setMinimumWidth(400);
}

QString CAboutDlg::versionLineText(const QString &packText, const QString &version)
{
    static const QRegularExpression versionNumber(QStringLiteral("\\d+(\\.\\d+)+"));
    const QRegularExpressionMatch found = versionNumber.match(packText);
    if (!found.hasMatch())
        return packText.isEmpty() ? version : packText + QLatin1Char(' ') + version;
    QString text = packText;
    return text.replace(found.capturedStart(), found.capturedLength(), version);
}

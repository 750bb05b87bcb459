#include "app/COpenMifQ21.h"

#include "device/OpenDialogLogic.h"
#include "device/TimeZoneTable.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int TextCaption = 95;
constexpr int TextZoneLabel = 96;
constexpr int TextLoadAed = 98;
constexpr int TextLoadMif = 99;
constexpr int TextPathLabel = 100;
constexpr int TextSerialLabel = 101;
constexpr int TextOpenDirectory = 102;

// The dialog was drawn 268 x 158 dialog units: about 400 x 260 pixels.
constexpr int MinimumWidth = 400;
constexpr int MinimumHeight = 260;
constexpr int ButtonMinimumWidth = 120;
} // namespace

COpenMifQ21::COpenMifQ21(OpenDialogLogic &logic, QWidget *parent)
    : QDialog(parent), m_logic(logic)
{
    setWindowTitle(m_logic.text(TextCaption));
    setMinimumSize(MinimumWidth, MinimumHeight);

    auto *zoneLabel = new QLabel(m_logic.text(TextZoneLabel), this);
    m_zoneCombo = new QComboBox(this);
    m_zoneCombo->setObjectName(QStringLiteral("zoneCombo"));
    m_zoneCombo->addItems(TimeZoneTable::timeZoneNames());
    m_zoneCombo->setCurrentIndex(m_logic.zoneRow());
    m_zoneCombo->setMaxVisibleItems(20);
    zoneLabel->setBuddy(m_zoneCombo);

    auto *openDirectory = new QPushButton(m_logic.text(TextOpenDirectory), this);
    openDirectory->setObjectName(QStringLiteral("openDirectoryButton"));
    openDirectory->setAutoDefault(false);
    auto *loadAed = new QPushButton(m_logic.text(TextLoadAed), this);
    loadAed->setObjectName(QStringLiteral("loadAedButton"));
    loadAed->setAutoDefault(false);

    auto *group = new QGroupBox(this);
    auto *pathLabel = new QLabel(m_logic.text(TextPathLabel), group);
    m_pathEdit = new QLineEdit(m_logic.mifPathText(), group);
    m_pathEdit->setObjectName(QStringLiteral("pathEdit"));
    m_pathEdit->setReadOnly(true);
    m_pathEdit->setEnabled(false);
    auto *browse = new QPushButton(QStringLiteral("..."), group);
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->setAutoDefault(false);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    auto *serialLabel = new QLabel(m_logic.text(TextSerialLabel), group);
    m_serialEdit = new QLineEdit(m_logic.serialText(), group);
    m_serialEdit->setObjectName(QStringLiteral("serialEdit"));
    serialLabel->setBuddy(m_serialEdit);
    auto *loadMif = new QPushButton(m_logic.text(TextLoadMif), group);
    loadMif->setObjectName(QStringLiteral("loadMifButton"));
    loadMif->setDefault(true);

    for (QPushButton *button : {openDirectory, loadAed, loadMif})
        button->setMinimumWidth(ButtonMinimumWidth);

    auto *groupLayout = new QGridLayout(group);
    groupLayout->addWidget(pathLabel, 0, 0, 1, 2);
    groupLayout->addWidget(m_pathEdit, 1, 0);
    groupLayout->addWidget(browse, 1, 1);
    groupLayout->addWidget(serialLabel, 2, 0, 1, 2);
    groupLayout->addWidget(m_serialEdit, 3, 0);
    groupLayout->addWidget(loadMif, 4, 0, 1, 2, Qt::AlignRight);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(openDirectory);
    buttons->addStretch(1);
    buttons->addWidget(loadAed);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(zoneLabel);
    layout->addWidget(m_zoneCombo);
    layout->addLayout(buttons);
    layout->addWidget(group);
    layout->addStretch(1);

    connect(m_zoneCombo, &QComboBox::currentIndexChanged, this, [this](int row) { m_logic.setZoneRow(row); });
    connect(m_serialEdit, &QLineEdit::textChanged, this, [this](const QString &text) { m_logic.setSerialText(text); });
    connect(browse, &QPushButton::clicked, this, &COpenMifQ21::onBrowse);
    connect(loadMif, &QPushButton::clicked, this, &COpenMifQ21::onLoadMif);
    connect(loadAed, &QPushButton::clicked, this, &COpenMifQ21::onLoadAed);
    connect(openDirectory, &QPushButton::clicked, this, &COpenMifQ21::onOpenDirectory);

    m_serialEdit->setFocus();
}

void COpenMifQ21::onBrowse()
{
    if (m_logic.browseMifFile())
        m_pathEdit->setText(m_logic.mifPathText());
}

void COpenMifQ21::onLoadMif()
{
    if (m_logic.loadMifFile())
        accept();
}

void COpenMifQ21::onLoadAed()
{
    if (m_logic.loadAedFile())
        accept();
}

void COpenMifQ21::onOpenDirectory()
{
    if (m_logic.openDirectory())
        accept();
}

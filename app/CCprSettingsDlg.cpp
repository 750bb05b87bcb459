#include "app/CCprSettingsDlg.h"

#include "base/LanguagePack.h"
#include "cpr/CprSettingsForm.h"
#include "cpr/CprTexts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QWidget *band(QLineEdit *low, QLineEdit *high, QWidget *parent)
{
    auto *w = new QWidget(parent);
    auto *row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(low);
    row->addWidget(new QLabel(QStringLiteral("\u2013"), w));
    row->addWidget(high);
    return w;
}

} // namespace

CCprSettingsDlg::CCprSettingsDlg(CprSettingsForm &form, QWidget *parent)
    : QDialog(parent),
      m_form(form),
      m_threshold(new QLineEdit(this)),
      m_ccf(new QLineEdit(this)),
      m_rateMin(new QLineEdit(this)),
      m_rateMax(new QLineEdit(this)),
      m_depthMin(new QLineEdit(this)),
      m_depthMax(new QLineEdit(this)),
      m_preShock(new QLineEdit(this)),
      m_postShock(new QLineEdit(this)),
      m_unit(new QComboBox(this)),
      m_problem(new QLabel(this))
{
    const LanguagePack &texts = form.texts();
    using namespace CprText;
    setWindowTitle(texts.GetText(SettingsCommand).remove(QStringLiteral("...")));
    m_unit->addItem(texts.GetText(Inches));
    m_unit->addItem(texts.GetText(Centimetres));

    auto *fields = new QFormLayout;
    fields->addRow(texts.GetText(PauseThresholdField), m_threshold);
    fields->addRow(texts.GetText(CcfTargetField), m_ccf);
    fields->addRow(texts.GetText(RateTargetField), band(m_rateMin, m_rateMax, this));
    fields->addRow(texts.GetText(DepthUnitField), m_unit);
    fields->addRow(texts.GetText(DepthTargetField), band(m_depthMin, m_depthMax, this));
    fields->addRow(texts.GetText(PreShockField), m_preShock);
    fields->addRow(texts.GetText(PostShockField), m_postShock);

    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #c01010;"));
    m_problem->hide();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *defaults = buttons->addButton(texts.GetText(Defaults), QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCprSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &CCprSettingsDlg::restoreDefaults);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);

    showForm();
    connect(m_unit, &QComboBox::currentIndexChanged, this, &CCprSettingsDlg::changeUnit);
}

void CCprSettingsDlg::collect()
{
    m_form.pauseThresholdText = m_threshold->text();
    m_form.ccfPercentText = m_ccf->text();
    m_form.rateMinText = m_rateMin->text();
    m_form.rateMaxText = m_rateMax->text();
    m_form.depthMinText = m_depthMin->text();
    m_form.depthMaxText = m_depthMax->text();
    m_form.preShockText = m_preShock->text();
    m_form.postShockText = m_postShock->text();
}

void CCprSettingsDlg::showForm()
{
    m_threshold->setText(m_form.pauseThresholdText);
    m_ccf->setText(m_form.ccfPercentText);
    m_rateMin->setText(m_form.rateMinText);
    m_rateMax->setText(m_form.rateMaxText);
    m_depthMin->setText(m_form.depthMinText);
    m_depthMax->setText(m_form.depthMaxText);
    m_preShock->setText(m_form.preShockText);
    m_postShock->setText(m_form.postShockText);
    const QSignalBlocker quiet(m_unit);
    m_unit->setCurrentIndex(m_form.depthUnit() == CprDepthUnit::Centimetres ? 1 : 0);
}

void CCprSettingsDlg::changeUnit(int index)
{
    collect();
    m_form.setDepthUnit(index == 1 ? CprDepthUnit::Centimetres : CprDepthUnit::Inches);
    showForm();
}

void CCprSettingsDlg::restoreDefaults()
{
    m_form.restoreDefaults();
    m_problem->hide();
    showForm();
}

void CCprSettingsDlg::accept()
{
    collect();
    if (!m_form.accept()) {
        m_problem->setText(m_form.texts().GetText(m_form.problem()));
        m_problem->show();
        return;
    }
    QDialog::accept();
}

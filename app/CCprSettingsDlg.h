#pragma once

#include <QDialog>

class CprSettingsForm;
class QComboBox;
class QLabel;
class QLineEdit;

// File > "CPR quality settings...": the pause threshold, the targets and the depth unit.
// The widgets only show and collect; CprSettingsForm decides. OK keeps the dialog open,
// with the problem written under the fields, until every field holds.
class CCprSettingsDlg : public QDialog
{
    Q_OBJECT
public:
    CCprSettingsDlg(CprSettingsForm &form, QWidget *parent = nullptr);

    QLineEdit *pauseThresholdEdit() const { return m_threshold; }
    QLineEdit *ccfEdit() const { return m_ccf; }
    QLineEdit *rateMinEdit() const { return m_rateMin; }
    QLineEdit *rateMaxEdit() const { return m_rateMax; }
    QLineEdit *depthMinEdit() const { return m_depthMin; }
    QLineEdit *depthMaxEdit() const { return m_depthMax; }
    QLineEdit *preShockEdit() const { return m_preShock; }
    QLineEdit *postShockEdit() const { return m_postShock; }
    QComboBox *unitBox() const { return m_unit; }
    QLabel *problemLabel() const { return m_problem; }

    void accept() override;

private:
    void collect();
    void showForm();
    void restoreDefaults();
    void changeUnit(int index);

    CprSettingsForm &m_form;
    QLineEdit *m_threshold;
    QLineEdit *m_ccf;
    QLineEdit *m_rateMin;
    QLineEdit *m_rateMax;
    QLineEdit *m_depthMin;
    QLineEdit *m_depthMax;
    QLineEdit *m_preShock;
    QLineEdit *m_postShock;
    QComboBox *m_unit;
    QLabel *m_problem;
};

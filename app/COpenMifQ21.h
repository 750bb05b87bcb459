#pragma once

#include <QDialog>

class OpenDialogLogic;
class QComboBox;
class QLineEdit;
class QPushButton;

// The Open dialog: the time zone, the MIF folder and the device's serial number, and the
// three ways on ("Load MIF File", "Load AED File", "Open Directory"). The widgets only
// show and collect; every decision is OpenDialogLogic's. Esc or closing cancels.
class COpenMifQ21 : public QDialog
{
    Q_OBJECT
public:
    COpenMifQ21(OpenDialogLogic &logic, QWidget *parent = nullptr);

private:
    void onBrowse();
    void onLoadMif();
    void onLoadAed();
    void onOpenDirectory();

    OpenDialogLogic &m_logic;
    QComboBox *m_zoneCombo;
    QLineEdit *m_pathEdit;
    QLineEdit *m_serialEdit;
};

#pragma once

#include <QDialog>

class LanguagePack;
class QLabel;

// The About box: program icon, version line and OK.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(const LanguagePack &texts, QWidget *parent = nullptr);

    QLabel *versionLine() const { return m_version; }

private:
    QLabel *m_version;
};

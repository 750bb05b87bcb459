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

    // The pack's version line with its version number ("1.0.3.8") replaced by version, so that
    // the box shows the program's own version in any language; a line without a number gets the
    // version appended.
    static QString versionLineText(const QString &packText, const QString &version);

private:
    QLabel *m_version;
};

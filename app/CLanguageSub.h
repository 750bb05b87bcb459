#pragma once

#include <QDialog>
#include <QRect>
#include <cstdint>

class QPushButton;

// The language choice asked at start while the pack leaves the language open: no caption,
// "English" on top (the cancel button) and "Italiano" below (OK, the default button).
class CLanguageSub : public QDialog
{
    Q_OBJECT

public:
    explicit CLanguageSub(QWidget *parent = nullptr);

    // Runs the dialog modally: language number 2 when it ends with OK ("Italiano" or Enter),
    // 1 on any other ending ("English", Esc or closing).
    static uint8_t chooseLanguage(QWidget *parent = nullptr);
    // Language number for a dialog result code.
    static uint8_t languageFor(int result) { return result == QDialog::Accepted ? 2 : 1; }

    // Dialog units of the layout to pixels, for the 8-point dialog font (4 × 8 units = 6 × 13 px).
    static QRect dialogUnitsToPixels(const QRect &units);

    QPushButton *englishButton() const { return m_english; }
    QPushButton *italianButton() const { return m_italian; }

private:
    QPushButton *m_english;
    QPushButton *m_italian;
};

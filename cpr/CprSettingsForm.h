#pragma once

#include "cpr/CprReviewSettings.h"

#include <QString>

class LanguagePack;

// The decisions of the "CPR quality settings" dialog, without widgets: the fields as the
// dialog shows them (texts), the depth unit, and what OK does with them. The dialog only
// copies texts in and out and calls accept().
//
// Depth bounds are shown in the chosen unit but kept in inches. A bound whose text the
// reviewer left as it was shown keeps its exact value in inches, so that looking at the
// targets in centimetres (5.08-6.10) and pressing OK changes nothing.
class CprSettingsForm
{
public:
    // texts: the pack the dialog takes its labels and messages from.
    CprSettingsForm(const CprReviewSettings &current, const LanguagePack &texts);

    const LanguagePack &texts() const { return m_texts; }

    QString pauseThresholdText; // ms
    QString ccfPercentText;     // %
    QString rateMinText;        // per minute
    QString rateMaxText;
    QString depthMinText;       // in the shown unit
    QString depthMaxText;
    QString preShockText;       // whole seconds
    QString postShockText;

    CprDepthUnit depthUnit() const { return m_unit; }
    // Shows the depth bounds in another unit; an edited bound that cannot be read stays
    // as typed.
    void setDepthUnit(CprDepthUnit unit);
    // Every field back to the guidelines' defaults, in the unit now shown.
    void restoreDefaults();

    // OK: true when every field holds a value in its range (settings() has them then);
    // otherwise false, and problem() is the text number saying what is wrong.
    bool accept();
    int problem() const { return m_problem; }
    const CprReviewSettings &settings() const { return m_result; }

    // A depth in inches as the form shows it in a unit: "2.0" in, "5.08" cm.
    static QString depthText(double inches, CprDepthUnit unit);

private:
    void show(const CprReviewSettings &s);
    // The inches a depth field stands for; false when it cannot be read.
    bool depthInches(const QString &text, const QString &shown, double shownInches, double &inches) const;

    const LanguagePack &m_texts;
    CprDepthUnit m_unit;
    double m_depthMinIn;        // what the shown depth texts stand for
    double m_depthMaxIn;
    QString m_shownDepthMin;
    QString m_shownDepthMax;
    int m_problem = 0;
    CprReviewSettings m_result;
};

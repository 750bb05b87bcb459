#pragma once

#include "base/CTime.h"

#include <QString>
#include <cstdint>

class CaseSession;

// What the annotation dialog decides, without its widgets: the labels, the time it starts
// at, the checks and the storing on OK. The dialog (CAnnotation) or a test script fills
// pickedTime, title and body and calls accept().
class AnnotationForm
{
public:
    // 1: add from the tree; 2: edit or view an existing annotation; 3: add at a case time
    // of the enlarged ECG, whose time cannot be changed.
    enum Mode : int { AddFromTree = 1, Edit = 2, AddAtTime = 3 };

    static constexpr int MaxTitleLength = 20;
    static constexpr int MaxBodyLength = 255;

    struct Labels
    {
        QString caption;
        QString time;
        QString title;
        QString annotation;
        QString cancel;
    };
    // Italian for language 2, English for every other number.
    static Labels labelsFor(uint8_t language);
    // The date-time picker's display format.
    static QString timeFormat() { return QStringLiteral("yyyy-MM-dd HH:mm:ss"); }

    // value: the annotation's event slot in mode 2, the case time in ms in mode 3, else 0.
    AnnotationForm(CaseSession &session, int slot, int mode, int32_t value);

    int mode() const { return m_mode; }
    int slot() const { return m_slot; }
    int eventIndex() const { return m_eventIndex; }
    int32_t givenTimeMs() const { return m_givenTimeMs; }
    CTime caseStart() const { return m_caseStart; }
    Labels labels() const;
    bool timeEditable() const { return m_mode != AddAtTime; }
    // Longest texts that can be typed: the limits, or more when an archive brought a
    // longer text in, which is kept whole.
    int titleLimit() const;
    int bodyLimit() const;
    // "n characters left" under the title while typedLength characters are typed.
    QString titleRemainingText(int typedLength) const;

    CTime pickedTime; // the time in the picker, local date and time
    QString title;    // without the "A: "
    QString body;

    // OK: stores the annotation and rebuilds the case's event items. false, after telling
    // the user, when the time is before the case start or too far after it to be held in
    // ms; the dialog then stays open.
    bool accept();
    // accept() stored the annotation.
    bool stored() const { return m_stored; }

private:
    CaseSession &m_session;
    int m_mode;
    int m_slot;
    int m_eventIndex = 0;
    int32_t m_givenTimeMs = 0;
    CTime m_caseStart;
    int m_initialTitleLength = 0;
    int m_initialBodyLength = 0;
    bool m_stored = false;
};

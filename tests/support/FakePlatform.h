#pragma once

#include "app/Platform.h"

#include <QList>
#include <QString>
#include <deque>

// A scripted Platform: records every message box and answers from a queue (Ok, or the
// last button's "no" when the script runs dry, so an unscripted question never says yes).
class FakePlatform : public Platform
{
public:
    struct Message {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };

    QList<Message> messages;
    std::deque<Answer> answers;

    void answerNext(Answer a) { answers.push_back(a); }

    Answer messageBox(const QString &text, const QString &caption, Icon icon, Buttons buttons) override
    {
        messages.append({text, caption, icon, buttons});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::YesNo: return Answer::No;
        case Buttons::YesNoCancel:
        case Buttons::OkCancel: return Answer::Cancel;
        }
        return Answer::Cancel;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto &m : messages)
            out << m.text;
        return out;
    }
};

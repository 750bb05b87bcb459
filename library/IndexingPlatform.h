#pragma once

#include "base/Platform.h"

#include <QStringList>

// The platform of the indexing: nobody watches, so every message is kept for the report of
// the archive that caused it, questions are answered no and every dialog is cancelled.
class IndexingPlatform : public Platform
{
public:
    Answer messageBox(const QString &text, const QString &, Icon, Buttons buttons) override
    {
        messages << text;
        return buttons == Buttons::Ok ? Answer::Ok : buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }

    QStringList messages;
};

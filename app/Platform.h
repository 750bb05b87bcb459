#pragma once

#include <QString>
#include <QStringList>

// Everything the user must see or answer goes through this seam, so that the case
// commands run the same with real Qt dialogs, with a scripted fake in tests and on the
// console in ravelin-cli. Later services (file dialogs, folder browser, progress
// window, the annotation and open forms) are added here as the commands need them.
class Platform
{
public:
    enum class Icon { None, Stop, Question, Warning, Information };
    enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Platform() = default;

    // A modal message box; returns the button pressed (Cancel or No when closed).
    virtual Answer messageBox(const QString &text, const QString &caption, Icon icon, Buttons buttons) = 0;

    // The common case: text, the program's caption, stop icon, OK.
    void showError(const QString &text, const QString &caption)
    {
        messageBox(text, caption, Icon::Stop, Buttons::Ok);
    }
};

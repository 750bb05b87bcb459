#include "tools/ConsolePlatform.h"

#include <QTextStream>

Platform::Answer ConsolePlatform::messageBox(const QString &text, const QString &, Icon, Buttons buttons)
{
    m_err << m_commandName << ": " << text << "\n";
    m_err.flush();
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel:
    case Buttons::OkCancel: break;
    }
    return Answer::Cancel;
}

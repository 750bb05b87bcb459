#pragma once

#include "base/Platform.h"

class QTextStream;

// The platform of the headless commands: every message goes to the error stream after the
// command's name ("ravelin-cli events: ..."); questions are answered no and every dialog is
// cancelled.
class ConsolePlatform : public Platform
{
public:
    ConsolePlatform(QTextStream &err, const QString &commandName) : m_err(err), m_commandName(commandName) {}

    Answer messageBox(const QString &text, const QString &caption, Icon icon, Buttons buttons) override;

private:
    QTextStream &m_err;
    QString m_commandName;
};

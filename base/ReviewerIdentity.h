#pragma once

#include <QString>
#include <cstdint>

// Who is reviewing: the name the reviewer set (else the computer account's full name, else its
// login), the computer's host name and this program's process. It goes with every review-status
// change, lock and audit entry.
struct ReviewerIdentity
{
    QString name;
    QString host;
    int64_t processId = 0;

    // The reviewer of this process: the name kept in the settings (settingsName), else the
    // account's full name, else its login; RAVELIN_REVIEWER in the environment wins over all
    // of them, so that a scripted review names its reviewer.
    static ReviewerIdentity current();

    // The name kept in the settings ("" when none was set).
    static QString settingsName();
    static void setSettingsName(const QString &name);
    // The name the account gives: its full name (the first part of its GECOS field), else its
    // login.
    static QString accountName();
};

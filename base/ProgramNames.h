#pragma once

#include <QCoreApplication>
#include <QString>

// The organisation and application names under which the program keeps its settings and its
// data folder. The headless commands take the same names, so both find the same files.
namespace ProgramNames {

inline constexpr char Organisation[] = "로컬 응용 프로그램 마법사에서 생성된 응용 프로그램";
inline constexpr char Application[] = "Ravelin";

inline void apply()
{
    QCoreApplication::setOrganizationName(QString::fromUtf8(Organisation));
    QCoreApplication::setApplicationName(QString::fromUtf8(Application));
}

} // namespace ProgramNames

#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The parts of the program that pull in large libraries of their own (sound output, printing)
// are plugins, loaded when they are first used, so that starting the program does not load
// those libraries. A plugin is the file lib<name>.so beside the program (the build folder) or
// in the installed plugin folder.
namespace ProgramPlugin {

// The folders searched, in order, for the program in programFolder: that folder itself, then
// the plugin folder of the installed layout.
QStringList defaultFolders(const QString &programFolder);
// Replaces the folders searched (a test program points them at the build folder); an empty
// list restores the default ones. Every plugin is looked for again at its next use.
void setFolders(const QStringList &folders);
QStringList folders();

// The root object of plugin name, loaded at the first call and kept for the program's life;
// null when it cannot be loaded, with the reason in error (the file missing from every folder
// searched, or why the file found could not be loaded). path: the file loaded.
QObject *instance(const QString &name, QString *error, QString *path = nullptr);

// The plugin's root object as interface T (declared with Q_DECLARE_INTERFACE).
template<class T>
T *load(const QString &name, QString *error, QString *path = nullptr)
{
    QObject *root = instance(name, error, path);
    T *typed = qobject_cast<T *>(root);
    if (root && !typed && error)
        *error = QStringLiteral("%1 is not the plugin this program expects.").arg(name);
    return typed;
}

} // namespace ProgramPlugin

#include "base/ProgramPlugin.h"

#include "base/ProgramInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPluginLoader>

namespace ProgramPlugin {

namespace {

QStringList &chosenFolders()
{
    static QStringList folders;
    return folders;
}

struct Outcome
{
    QObject *root = nullptr;
    QString error;
    QString path; // the file loaded
};

// Each plugin is looked for once per set of folders: a missing one is not searched again at
// every use.
QHash<QString, Outcome> &outcomes()
{
    static QHash<QString, Outcome> loaded;
    return loaded;
}

QString fileName(const QString &name)
{
    return QStringLiteral("lib%1.so").arg(name);
}

Outcome loadFrom(const QStringList &searched, const QString &name)
{
    for (const QString &folder : searched) {
        const QString path = QDir(folder).filePath(fileName(name));
        if (!QFileInfo(path).isFile())
            continue;
        QPluginLoader loader(path);
        if (QObject *root = loader.instance())
            return {root, {}, path};
        return {nullptr, QStringLiteral("%1 could not be loaded: %2").arg(QDir::toNativeSeparators(path),
                                                                           loader.errorString()),
                {}};
    }
    QStringList shown;
    for (const QString &folder : searched)
        shown.append(QDir::toNativeSeparators(QDir::cleanPath(folder)));
    return {nullptr, QStringLiteral("%1 is in none of these folders: %2")
                         .arg(fileName(name), shown.join(QStringLiteral(", "))),
            {}};
}

} // namespace

QStringList defaultFolders(const QString &programFolder)
{
    return {programFolder, QDir::cleanPath(programFolder + QLatin1Char('/') +
                                           QLatin1String(ProgramInfo::PluginFolderFromProgram))};
}

void setFolders(const QStringList &folders)
{
    chosenFolders() = folders;
    // Each plugin is looked for again in the new folders; one already loaded stays in memory
    // (nothing is unloaded), so what was made from it stays valid.
    outcomes().clear();
}

QStringList folders()
{
    if (!chosenFolders().isEmpty())
        return chosenFolders();
    return defaultFolders(QCoreApplication::applicationDirPath());
}

QObject *instance(const QString &name, QString *error, QString *path)
{
    QHash<QString, Outcome> &known = outcomes();
    auto it = known.find(name);
    if (it == known.end())
        it = known.insert(name, loadFrom(folders(), name));
    if (error)
        *error = it->error;
    if (path)
        *path = it->path;
    return it->root;
}

} // namespace ProgramPlugin

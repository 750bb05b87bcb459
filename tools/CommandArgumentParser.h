#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

// How a command's argument check ended: go on, show the help, or say what is wrong.
enum class ArgumentOutcome { Run, Help, Error };

// The part every command's argument check shares: -h/--help first, the command's own options,
// one positional argument (ARCHIVE, FOLDER) and the help text "usage: ravelin-cli ...".
class CommandArgumentParser
{
public:
    // options follow --help in the help text, in the order given.
    CommandArgumentParser(const QList<QCommandLineOption> &options, const QString &positionalName,
                          const QString &positionalDescription);

    // arguments[0] is the command's name. Help: message is the usage line, introduction (which
    // ends in an empty line) and the options. Error: message says what is wrong. Run: positional
    // is the one positional argument.
    ArgumentOutcome parse(const QStringList &arguments, const char *synopsis, const QString &introduction,
                          QString &positional, QString &message);

    bool isSet(const QCommandLineOption &option) const { return m_parser.isSet(option); }
    QString value(const QCommandLineOption &option) const { return m_parser.value(option); }
    QStringList values(const QCommandLineOption &option) const { return m_parser.values(option); }

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QString m_positionalName;
};

// --lang-pack FILE: the string.txt to take the texts from.
QCommandLineOption languagePackOption();

#include "tools/CommandArgumentParser.h"

CommandArgumentParser::CommandArgumentParser(const QList<QCommandLineOption> &options, const QString &positionalName,
                                             const QString &positionalDescription)
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help.")),
      m_positionalName(positionalName)
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOptions(options);
    m_parser.addPositionalArgument(positionalName, positionalDescription);
}

ArgumentOutcome CommandArgumentParser::parse(const QStringList &arguments, const char *synopsis,
                                             const QString &introduction, QString &positional, QString &message)
{
    if (!m_parser.parse(arguments)) {
        message = m_parser.errorText();
        return ArgumentOutcome::Error;
    }
    if (m_parser.isSet(m_help)) {
        message = QStringLiteral("usage: ravelin-cli ") + QLatin1String(synopsis) + QStringLiteral("\n\n") + introduction
            + m_parser.helpText().section(QLatin1Char('\n'), 2);
        return ArgumentOutcome::Help;
    }
    const QStringList given = m_parser.positionalArguments();
    if (given.size() != 1) {
        message = given.isEmpty() ? QStringLiteral("no ") + m_positionalName + QStringLiteral(" given")
                                  : QStringLiteral("one ") + m_positionalName + QStringLiteral(" only, got: ")
                + given.join(QLatin1Char(' '));
        return ArgumentOutcome::Error;
    }
    positional = given.front();
    return ArgumentOutcome::Run;
}

QCommandLineOption languagePackOption()
{
    return QCommandLineOption(QStringLiteral("lang-pack"),
                              QStringLiteral("Language pack to take the texts from (default: the built-in one)."),
                              QStringLiteral("FILE"));
}

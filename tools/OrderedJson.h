#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// JSON text with members in the order they are added, as the headless commands print it
// (QJsonObject sorts its keys).

// A JSON string literal, quotes included.
QString jsonQuoted(const QString &text);

class OrderedJsonObject
{
public:
    // json is the member's value as JSON text.
    void add(const char *name, const QString &json);
    void text(const char *name, const QString &value) { add(name, jsonQuoted(value)); }
    void number(const char *name, qint64 value) { add(name, QString::number(value)); }
    void flag(const char *name, bool value) { add(name, value ? QStringLiteral("true") : QStringLiteral("false")); }
    // The shortest text that reads back as value; null for none.
    void real(const char *name, std::optional<double> value);
    // null for none.
    void integer(const char *name, std::optional<qint64> value);

    // One member a line, two blanks of indent, a line feed after the closing brace.
    QString toJson() const;
    // On one line: {"a": 1, "b": 2}.
    QString toInlineJson() const;
    // As the value of a member of an object printed by toJson: one member a line, indented
    // one level deeper than that member.
    QString toMemberJson() const;

private:
    QStringList m_members;
};

// An array member's value: one element a line, each indented one level deeper than the member.
QString jsonArray(const QStringList &elements);

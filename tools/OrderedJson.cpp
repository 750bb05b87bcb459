#include "tools/OrderedJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

QString jsonQuoted(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

void OrderedJsonObject::add(const char *name, const QString &json)
{
    m_members << jsonQuoted(QLatin1String(name)) + QStringLiteral(": ") + json;
}

void OrderedJsonObject::real(const char *name, std::optional<double> value)
{
    add(name, value ? QString::number(*value, 'g', QLocale::FloatingPointShortest) : QStringLiteral("null"));
}

void OrderedJsonObject::integer(const char *name, std::optional<qint64> value)
{
    add(name, value ? QString::number(*value) : QStringLiteral("null"));
}

QString OrderedJsonObject::toJson() const
{
    return QStringLiteral("{\n  ") + m_members.join(QStringLiteral(",\n  ")) + QStringLiteral("\n}\n");
}

QString OrderedJsonObject::toInlineJson() const
{
    return QStringLiteral("{") + m_members.join(QStringLiteral(", ")) + QStringLiteral("}");
}

QString OrderedJsonObject::toMemberJson() const
{
    return QStringLiteral("{\n    ") + m_members.join(QStringLiteral(",\n    ")) + QStringLiteral("\n  }");
}

QString jsonArray(const QStringList &elements)
{
    if (elements.isEmpty())
        return QStringLiteral("[]");
    return QStringLiteral("[\n    ") + elements.join(QStringLiteral(",\n    ")) + QStringLiteral("\n  ]");
}

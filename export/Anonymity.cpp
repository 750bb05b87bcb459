#include "export/Anonymity.h"

namespace Anonymity {

QString annotationText()
{
    return QStringLiteral("Annotation");
}

bool isAnnotation(const QString &eventText)
{
    return eventText.startsWith(QLatin1String("A: "));
}

QString eventText(const QString &text)
{
    return isAnnotation(text) ? annotationText() : text;
}

QString suggestedBaseName()
{
    return QStringLiteral("anonymised");
}

} // namespace Anonymity

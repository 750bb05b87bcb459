#include "base/UnsavedChangesQuestion.h"

#include "base/LanguagePack.h"
#include "base/NoticeTexts.h"
#include "base/Platform.h"

QString unsavedChangesQuestionText(const LanguagePack &texts, const QStringList &changedCases)
{
    const QString question = texts.GetText(TextId::UnsavedChanges);
    if (changedCases.isEmpty())
        return question;
    return texts.GetText(NoticeText::UnsavedCasesList).arg(changedCases.join(QStringLiteral(", "))) + QLatin1Char('\n')
        + question;
}

bool askToProceedWithUnsavedChanges(Platform &platform, const LanguagePack &texts, const QStringList &changedCases,
                                    const std::function<bool()> &save)
{
    switch (platform.messageBox(unsavedChangesQuestionText(texts, changedCases), texts.GetText(TextId::Caption),
                                Platform::Icon::Question, Platform::Buttons::YesNoCancel)) {
    case Platform::Answer::Yes: return save();
    case Platform::Answer::No: return true;
    default: return false;
    }
}

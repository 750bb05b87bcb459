#include "base/UnsavedChangesQuestion.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"

bool askToProceedWithUnsavedChanges(Platform &platform, const LanguagePack &texts, const std::function<bool()> &save)
{
    switch (platform.messageBox(texts.GetText(TextId::UnsavedChanges), texts.GetText(TextId::Caption),
                                Platform::Icon::Question, Platform::Buttons::YesNoCancel)) {
    case Platform::Answer::Yes: return save();
    case Platform::Answer::No: return true;
    default: return false;
    }
}

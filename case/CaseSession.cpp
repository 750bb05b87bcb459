#include "case/CaseSession.h"

#include "base/LanguagePack.h"

CaseSession::CaseSession(LanguagePack &texts, Platform &platform)
    : store(texts, platform), m_texts(texts), m_platform(platform)
{
}

CaseSession::~CaseSession() = default;

QString CaseSession::GetText(int number) const
{
    return m_texts.GetText(number);
}

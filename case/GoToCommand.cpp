#include "case/GoToCommand.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "case/CaseExtent.h"
#include "case/CaseSession.h"
#include "case/EventListText.h"
#include "case/GoToTime.h"
#include "case/NavigationTexts.h"

namespace {

QString clockText(const CaseRecord &c, int64_t seconds)
{
    return EventListText::clockLabel(c.startTimeValid, c.startTime, CTimeSpan(seconds)).trimmed();
}

QString problemText(const CaseSession &session, const CaseRecord &c, const QString &typed, const GoToRequest &request,
                    const GoToTarget &target, int eventCount)
{
    using O = GoToTarget::Outcome;
    const int64_t end = CaseEnd(&c).GetTotalSeconds();
    switch (target.outcome) {
    case O::OutsideCase:
        return session.GetText(NavigationText::GoToOutside)
            .arg(typed.trimmed(), clockText(c, 0) + QLatin1String(" (+0:00:00)"),
                 clockText(c, end) + QLatin1String(" (") + elapsedText(end) + QLatin1Char(')'));
    case O::NoSuchEvent:
        return session.GetText(NavigationText::GoToNoEvent).arg(request.value).arg(eventCount);
    case O::Invalid:
    case O::Found:
        break;
    }
    return session.GetText(NavigationText::GoToInvalid).arg(typed.trimmed());
}

} // namespace

std::optional<int64_t> askGoToPosition(CaseSession &session, int slot)
{
    Platform &platform = session.platform();
    const QString caption = session.GetText(TextId::Caption);
    const CaseRecord *c = session.store.caseAt(slot);
    if (!c) {
        platform.messageBox(session.GetText(TextId::SelectCase), caption, Platform::Icon::Information,
                            Platform::Buttons::Ok);
        return std::nullopt;
    }
    const std::vector<int64_t> events = eventTimesInOrder(*c);
    const int64_t end = CaseEnd(c).GetTotalSeconds();
    QString text = clockText(*c, session.review().m_tsPosition.GetTotalSeconds());
    while (platform.askText(session.GetText(NavigationText::GoToCaption), session.GetText(NavigationText::GoToLabel),
                            text)) {
        const GoToRequest request = parseGoToRequest(text);
        const GoToTarget target = resolveGoToRequest(request, c->startTimeValid, c->startTime, end, events);
        if (target.outcome == GoToTarget::Outcome::Found)
            return target.positionSeconds;
        platform.messageBox(problemText(session, *c, text, request, target, int(events.size())), caption,
                            Platform::Icon::Warning, Platform::Buttons::Ok);
    }
    return std::nullopt;
}

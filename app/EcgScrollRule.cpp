#include "app/EcgScrollRule.h"

#include <cstdlib>

namespace {

ScrollDecision move(int scrollPos, int64_t positionSeconds)
{
    return {ScrollDecision::Kind::Move, scrollPos, positionSeconds};
}

constexpr ScrollDecision Nothing{ScrollDecision::Kind::Nothing, 0, 0};
constexpr ScrollDecision ToStart{ScrollDecision::Kind::JumpToStart, 0, 0};
constexpr ScrollDecision ToEnd{ScrollDecision::Kind::JumpToEnd, 0, 0};

ScrollDecision thumbReleased(const ScrollInput &in)
{
    if (std::abs(in.p - in.q) <= ThumbFollowLimit)
        return Nothing;
    if (in.q <= in.lo)
        return ToStart;
    if (in.q >= in.hi)
        return ToEnd;
    return move(in.q, in.q);
}

ScrollDecision thumbDragged(const ScrollInput &in)
{
    if (in.q == in.p)
        return Nothing;
    if (in.q <= in.lo)
        return ToStart;
    if (in.q >= in.hi || in.q >= in.endSeconds)
        return ToEnd;
    return move(in.q, in.q);
}

} // namespace

ScrollDecision decideScroll(ScrollNotification notification, const ScrollInput &in)
{
    const int step = in.arrowStep;
    switch (notification) {
    case ScrollNotification::LineLeft:
        if (in.p >= in.lo + step && in.positionSeconds >= step)
            return move(in.p - step, in.positionSeconds - step);
        return ToStart;
    case ScrollNotification::LineRight:
        if (in.p <= in.hi - step && in.endSeconds - step > in.positionSeconds)
            return move(in.p + step, in.positionSeconds + step);
        return ToEnd;
    case ScrollNotification::PageLeft:
        if (in.p > in.lo && in.positionSeconds >= 1)
            return move(in.p - 1, in.positionSeconds - 1);
        return ToStart;
    case ScrollNotification::PageRight:
        if (in.p < in.hi && in.endSeconds - 1 > in.positionSeconds)
            return move(in.p + 1, in.positionSeconds + 1);
        return ToEnd;
    case ScrollNotification::ThumbPosition:
        return thumbReleased(in);
    case ScrollNotification::ThumbTrack:
        return thumbDragged(in);
    }
    return Nothing;
}

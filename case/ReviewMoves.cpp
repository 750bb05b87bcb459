#include "case/ReviewMoves.h"

#include <algorithm>

namespace {
constexpr int NotchUnits = 120;
constexpr int ShiftFactor = 10;
} // namespace

ReviewMove reviewMoveForKey(int key, Qt::KeyboardModifiers modifiers, int screenSeconds)
{
    using K = ReviewMove::Kind;
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    const int64_t arrow = (modifiers & Qt::ShiftModifier) ? ShiftFactor : 1;
    const int64_t screen = std::max(1, screenSeconds);
    switch (key) {
    case Qt::Key_Left: return {K::By, -arrow};
    case Qt::Key_Right: return {K::By, arrow};
    case Qt::Key_PageUp: return {K::By, -screen};
    case Qt::Key_PageDown: return {K::By, screen};
    case Qt::Key_Home: return {K::ToStart, 0};
    case Qt::Key_End: return {K::ToEnd, 0};
    default: return {};
    }
}

int takeWheelNotches(int &accumulated, int angleDelta)
{
    accumulated += angleDelta;
    const int notches = accumulated / NotchUnits; // truncates toward zero: the rest keeps its sign
    accumulated -= notches * NotchUnits;
    return notches;
}

ReviewMove reviewMoveForWheel(int &accumulated, int angleDelta, Qt::KeyboardModifiers modifiers, int notchSeconds)
{
    const int notches = takeWheelNotches(accumulated, angleDelta);
    if (notches == 0)
        return {};
    const int64_t factor = (modifiers & Qt::ShiftModifier) ? ShiftFactor : 1;
    return {ReviewMove::Kind::By, -int64_t(notches) * std::max(1, notchSeconds) * factor};
}

int64_t positionAfterMove(const ReviewMove &move, int64_t position, int64_t endSeconds)
{
    const int64_t end = std::max<int64_t>(0, endSeconds);
    switch (move.kind) {
    case ReviewMove::Kind::None: return position;
    case ReviewMove::Kind::ToStart: return 0;
    case ReviewMove::Kind::ToEnd: return end;
    case ReviewMove::Kind::By: return std::clamp<int64_t>(position + move.seconds, 0, end);
    }
    return position;
}

#pragma once

#include <cstdint>
#include <optional>

class CaseSession;

// "Go to time...": asks for a clock time, an elapsed time or an event number for the case
// in slot, starting from the clock time of the review position, until the answer names a
// moment of the case (a message says what is wrong with any other and asks again) or the
// question is cancelled. The position in seconds, or nothing. Without a case in slot the
// user is asked to select one.
std::optional<int64_t> askGoToPosition(CaseSession &session, int slot);

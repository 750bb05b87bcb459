#pragma once

class CaseSession;

// The case's tree branch (date, device and case nodes), its decoding with the pending
// annotations, and its event items.
void BuildEventList(CaseSession &session, int slot);

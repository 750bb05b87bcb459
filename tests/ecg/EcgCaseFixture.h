#pragma once

#include "case/CaseViewFixture.h"
#include "case/ReviewState.h"
#include "tools/Simulator.h"

#include <QByteArray>

// The case tests' view with the review state the ECG windows read, and ways to put a
// case in it: a small hand-made one (samples and events set directly) or a simulated
// rescue decoded the way an import does, with its CPR feedback and audio start copied in
// as the open flow would. Each new case becomes the selected one.
class EcgCaseFixture : public CaseViewFixture
{
public:
    ReviewState review;

    // A case whose ECG covers [ecgStartMs, ecgStartMs + 4 * samples.size()); no events.
    int handMadeCase(int32_t ecgStartMs, const QByteArray &samples)
    {
        const int slot = view.store.AllocateCaseSlot(QString());
        CaseRecord *c = view.store.caseAt(slot);
        c->ecgSamples = samples;
        c->ecgStartMs = ecgStartMs;
        c->ecgEndMs = ecgStartMs + 4 * int32_t(samples.size());
        c->ecgAllocated = true;
        review.m_nSelCase = slot;
        return slot;
    }

    // A flat ECG (value 125) of a number of seconds from time 0, with an event at its end.
    int flatCase(int seconds)
    {
        const int slot = handMadeCase(0, QByteArray(seconds * 250, char(125)));
        view.store.AddEvent(slot, seconds * 1000, QStringLiteral("Power off."), QString());
        return slot;
    }

    // A simulated rescue of some minutes.
    int simulatedCase(double minutes, uint32_t seed, DeviceFiles::Model model = DeviceFiles::Model::Q26)
    {
        SimulationOptions options;
        options.minutes = minutes;
        options.seed = seed;
        options.model = model;
        const DeviceFiles::DeviceFolder folder = simulateRescue(options);
        const int slot = decodeCase(folder);

        CaseRecord *c = view.store.caseAt(slot);
        for (const DeviceFiles::TimedValue &r : folder.cprFeedback)
            c->cprFeedback.push_back({r.timeMs, r.value});
        c->cprFeedbackCount = int32_t(c->cprFeedback.size());
        view.store.at(slot).hasCprFeedback = folder.hasCprFeedback;
        view.store.at(slot).hasAudio = folder.hasAudio;
        view.store.at(slot).audioStartMs = folder.audioStartMs;
        view.store.at(slot).audioDurationSec = int32_t(folder.audioSamples.size() / 16000);
        review.m_nSelCase = slot;
        return slot;
    }
};

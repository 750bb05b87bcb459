#pragma once

#include "app/CDetailSub2.h"
#include "app/CDetailView.h"
#include "sound/AudioOutput.h"
#include "ecg/EcgCaseFixture.h"

#include <QIODevice>
#include <QTabBar>
#include <memory>

// An audio output that takes what it is given and keeps the source for the test to read;
// its clock says what the test has let it play.
class CollectingAudio : public AudioOutput
{
public:
    QIODevice *source = nullptr;
    int starts = 0;
    int stops = 0;
    int64_t playedUs = 0; // set by the test as the output "plays"
    bool failed = false;

    int64_t processedUSecs() const override { return source ? playedUs : 0; }
    bool hasFailed() const override { return failed; }

    bool isAvailable() const override { return true; }
    bool start(QIODevice *s, const WaveFormat &) override
    {
        ++starts;
        source = s;
        playedUs = 0;
        failed = false;
        return true;
    }
    void stop() override
    {
        ++stops;
        source = nullptr;
    }
};

// The detail view over the ECG tests' view and review state, at 1000 x 700 pixels, with
// the sound going to a collector and the tree's event selection counted.
class DetailFixture : public EcgCaseFixture
{
public:
    CollectingAudio audio;
    std::unique_ptr<CDetailView> detail;
    int treeSelections = 0; // "select the event at the review position" requests

    void makeDetailView()
    {
        detail = std::make_unique<CDetailView>(view, review);
        detail->enlargedHost()->setAudioOutput(audio);
        detail->onSelectEventAtPosition = [this] { ++treeSelections; };
        detail->resize(1000, 700);
        detail->show();
    }

    // What the tree and the frame do when an item is selected.
    void select(int slot, int seconds, bool showEnlarged = false)
    {
        review.m_nSelCase = slot;
        review.m_tsPosition = CTimeSpan(seconds);
        review.m_bSelChanged = 1;
        review.m_bShowEnlarged = showEnlarged ? 1 : 0;
        detail->refresh();
    }

    // A case with events at the given times (ms) and a flat minute of ECG, from a folder
    // the case's archive is taken to live in.
    int caseWithEvents(std::initializer_list<int32_t> times)
    {
        const int slot = handMadeCase(0, QByteArray(15000, char(125)));
        for (int32_t t : times)
            view.store.AddEvent(slot, t, QStringLiteral("Prompt : Check patient."), QString());
        view.store.at(slot).sourcePath = dir.file(QStringLiteral("case.aed"));
        return slot;
    }

    CDetailSub2 &enlarged() { return *detail->enlargedHost(); }
};

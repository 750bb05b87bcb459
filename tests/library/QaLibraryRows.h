#pragma once

#include "library/CaseLibrary.h"
#include "library/LibraryRows.h"

#include <QDate>
#include <QTimeZone>
#include <gtest/gtest.h>

// A small library for the QA report whose figures are worked out by hand. Target 80 %:
//   A 2021-03-05 SN1  CCF 90 %  one shock, pre-shock pause 5 s      (fine)
//   B 2021-03-20 SN1  CCF 70 %  two shocks, pauses 15 s and 25 s    (CCF and pause)
//   C 2021-04-02 SN2  CCF 60 %  no shock                            (CCF)
//   D 2021-04-10 SN2  no CCF    one shock, pause not known          (fine)
//   E 2021-04-15 SN2  CCF 85 %  no shock, review asks for a follow-up
// The patients are named, and every row has a comment; E's follow-up has a note.
inline std::vector<LibraryCase> qaLibraryRows()
{
    const auto row = [](const char *name, const char *day, const char *serial, std::optional<double> ccf,
                        std::vector<std::optional<int64_t>> pauses) {
        LibraryCase c = libraryRow(QStringLiteral("/cases/%1.aed").arg(QLatin1String(name)), QLatin1String(day),
                                   QLatin1String(serial), ccf, int(pauses.size()));
        for (std::size_t i = 0; i < pauses.size(); ++i)
            c.shocks[i].preShockPauseMs = pauses[i];
        for (const auto &p : pauses)
            if (p)
                c.maxPreShockPauseMs = std::max(c.maxPreShockPauseMs.value_or(0), *p);
        c.startTime = QDate::fromString(QLatin1String(day), Qt::ISODate).startOfDay(QTimeZone::utc()).toSecsSinceEpoch();
        c.recordingId = QStringLiteral("rec-%1").arg(QLatin1String(name));
        c.lastName = QStringLiteral("Surname%1").arg(QLatin1String(name));
        c.firstName = QStringLiteral("Given%1").arg(QLatin1String(name));
        c.patientId = QStringLiteral("PID-%1").arg(QLatin1String(name));
        c.comments = QStringLiteral("SecretComment%1").arg(QLatin1String(name));
        return c;
    };
    std::vector<LibraryCase> rows = {row("A", "2021-03-05", "SN1", 0.90, {5000}),
                                     row("B", "2021-03-20", "SN1", 0.70, {15000, 25000}),
                                     row("C", "2021-04-02", "SN2", 0.60, {}),
                                     row("D", "2021-04-10", "SN2", std::nullopt, {std::nullopt}),
                                     row("E", "2021-04-15", "SN2", 0.85, {})};
    // Power-on to the first analysis (A, B, C) and compression (A, B); hands-off time (A, B).
    rows[0].firstAnalysisMs = 30000;
    rows[1].firstAnalysisMs = 50000;
    rows[2].firstAnalysisMs = 40000;
    rows[0].firstCompressionMs = 10000;
    rows[1].firstCompressionMs = 20000;
    std::array<int64_t, PauseCauseCount> a{}, b{};
    a[0] = 3000;
    a[std::size_t(PauseCause::Other)] = 1000;
    b[0] = 2000;
    rows[0].handsOffByCauseMs = a;
    rows[1].handsOffByCauseMs = b;
    return rows;
}

// The rows stored, and E's review asking for a follow-up.
inline void storeQaLibrary(CaseLibrary &library)
{
    const std::vector<LibraryCase> rows = qaLibraryRows();
    ASSERT_TRUE(library.storeAll(rows)) << library.errorText().toStdString();
    ReviewStatusChange change;
    change.stage = ReviewStatus::Stage::FollowUp;
    change.note = QStringLiteral("SecretNote");
    ASSERT_TRUE(library.changeReviewStatus(QStringLiteral("rec-E"), QStringLiteral("/cases/E.aed"), change,
                                           {QStringLiteral("Ann"), QStringLiteral("pc1"), 1}))
        << library.errorText().toStdString();
}

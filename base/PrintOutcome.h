#pragma once

#include <QString>

// How the print dialog of a report ended.
struct PrintOutcome
{
    enum class Result { Printed, Cancelled, Failed };
    Result result = Result::Cancelled;
    QString reason; // Failed: why, naming the printer or the file

    static PrintOutcome printed() { return {Result::Printed, {}}; }
    static PrintOutcome cancelled() { return {Result::Cancelled, {}}; }
    static PrintOutcome failed(const QString &why) { return {Result::Failed, why}; }
};

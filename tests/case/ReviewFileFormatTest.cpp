// The review file's own format: what a version-2 program can still read, and what a damaged
// list of pause causes is.
#include "base/FileError.h"
#include "case/ReviewFile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

TEST(ReviewFileFormat, PauseCausesRoundTripAndRaiseTheVersionOnlyWhenPresent)
{
    ReviewMarks marks;
    marks.viewed = true;
    EXPECT_EQ(QJsonDocument::fromJson(ReviewFile::encode(marks)).object().value("version").toInt(), 2)
        << "a file without causes stays readable by a program that knows version 2";
    marks.pauseCauses = {{-500, "pads"}, {12000, "rhythm-check"}};
    const QByteArray bytes = ReviewFile::encode(marks);
    EXPECT_EQ(QJsonDocument::fromJson(bytes).object().value("version").toInt(), 3);
    EXPECT_EQ(ReviewFile::decode(bytes, "r.json").pauseCauses, marks.pauseCauses);
}

TEST(ReviewFileFormat, ADamagedListOfPauseCausesIsNotAReviewFile)
{
    for (const char *causes : {R"("breaths")", R"([{"startMs": 1000}])", R"([{"startMs": 1000, "cause": "coffee"}])",
                               R"([{"startMs": 1.5, "cause": "pads"}])", R"([{"startMs": 4294967296, "cause": "pads"}])",
                               R"([{"startMs": 1000, "cause": "pads"}, {"startMs": 1000, "cause": "other"}])"}) {
        const QByteArray bytes = QByteArray(R"({"version": 3, "pauseCauses": )") + causes + "}";
        EXPECT_THROW(ReviewFile::decode(bytes, "r.json"), FileError) << causes;
    }
    EXPECT_THROW(ReviewFile::decode(R"({"version": 4})", "r.json"), FileError);
}

} // namespace

#pragma once

#include "app/CaseLibraryWindow.h"
#include "app/CaseTableModel.h"
#include "library/CaseLibrary.h"
#include "library/LibraryService.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

// The library window over an empty SQLite library of its own, with the scripted platform.
class LibraryWindowFixture : public testing::Test
{
protected:
    // Opens the library; the rows are the test's.
    void SetUp() override
    {
        service.setLocationText(dir.file(QStringLiteral("library.sqlite")));
        ASSERT_NE(service.library(), nullptr);
    }

    // The texts of a column of the table, top to bottom, as far as it has read.
    QStringList column(int c) const
    {
        QStringList out;
        for (int r = 0; r < rows(); ++r)
            out << window.casesModel()->index(r, c).data().toString();
        return out;
    }
    int rows() const { return window.casesModel()->rowCount(); }

    TempDir dir;
    FakePlatform platform;
    LanguagePack texts = Packs::builtInEnglish();
    LibraryService service{texts, platform};
    CaseLibraryWindow window{texts, platform, service};
};

#include "app/CDetailSub2.h"
#include "app/CDetailView.h"
#include "app/CMainFrame.h"
#include "base/CommandIds.h"
#include "app/CRavelinView.h"
#include "ecg/CMagnified.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"

#include <QAction>
#include <gtest/gtest.h>

TEST(ReportCommandsInTheFrame, PrintOpensTheReportMenuAndPrintAllSegmentReachesThePrintDialog)
{
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    CRavelinView &view = frame.view();
    const int slot = view.store.AllocateCaseSlot(QString());
    view.session.selSlot = slot;
    view.store.AddSegment(slot, 10000, 12000);

    frame.action(CommandId::Print)->trigger();
    EXPECT_EQ(platform.reportMenus.size(), 1);
    EXPECT_TRUE(platform.printedReports.isEmpty());

    // "Print All Segment" of the enlarged ECG: message 1135 through the frame to the view.
    CMagnified *magnified = frame.detailView()->enlargedHost()->window();
    platform.printScript = [](const SelectionReport &) { return PrintOutcome::printed(); };
    magnified->OnCommand(CommandId::PrintAllSegment);
    ASSERT_EQ(platform.printedReports.size(), 1);
    EXPECT_EQ(platform.printedReports[0].pieces.size(), 1u);
    EXPECT_EQ(platform.reportMenus.size(), 1);
    EXPECT_EQ(view.printState.printRequested, 0);

    // File > Print setup goes to the platform's printer, the one the next print uses.
    frame.action(CommandId::PrintSetup)->trigger();
    EXPECT_EQ(platform.printSetups, 1);
}

// The case tree of a case with 50 000 events in the real tree widget (offscreen): the
// event-list build with its decoding, the rebuild after an annotation, a click on an
// event and closing the case, beside a plain fill of a QTreeWidget with as many items
// in the same run (absolute times vary from machine to machine; the ratio does not).
#include "bench/BenchCases.h"
#include "app/CADETree.h"
#include "app/CaseTreeIcons.h"

#include <QApplication>

namespace {

using DeviceFiles::DeviceFolder;

constexpr int EventsPerBlock = 100;
constexpr int Blocks = 500;
constexpr int DeviceEvents = Blocks * EventsPerBlock - 1; // with "Power on." the table is full

// Plain prompts, two a second, in 500 trend blocks.
DeviceFolder busyFolder()
{
    DeviceFolder f;
    f.model = DeviceFiles::Model::Q26;
    f.hasTemp = false;
    int n = 0;
    for (int b = 0; b < Blocks; ++b) {
        DeviceFiles::TrendBlock block;
        for (int e = 0; e < EventsPerBlock && n < DeviceEvents; ++e, ++n)
            block.events[size_t(e)] = {1 + n % 5, 1000 + n * 500};
        f.trend.push_back(block);
    }
    return f;
}

const RecordingFolder &recording()
{
    static const RecordingFolder r(busyFolder(), QStringLiteral("busy"));
    return r;
}

// The view with the real tree in a window of its own.
struct TreeUnderTest : BenchView
{
    CADETree tree;

    TreeUnderTest()
    {
        view.setTree(&tree);
        view.state.mifFolderPath = recording().folder;
        view.state.serialNumber = QStringLiteral("BENCH");
        tree.resize(700, 1000);
        tree.show();
        QCoreApplication::processEvents();
    }

    int createCase()
    {
        view.store.scratchFileSet.SetPaths(view.state.mifFolderPath, view.state.deviceModel);
        MifCase::LoadFiles(view.store, view.store.scratchFileSet, 0, view.platform());
        view.store.scratchFileSet.SplitTrendBlocks();
        return MifCase::CreateCaseFromMif(view);
    }

    // Layout and one paint: the tree can answer the user again.
    void settle()
    {
        QCoreApplication::processEvents();
        tree.viewport()->repaint();
    }
};

// The cheapest fill Qt offers for as many items with the same texts and icons.
double plainFillNs(const QStringList &texts, const QIcon &icon)
{
    QTreeWidget plain;
    plain.resize(700, 1000);
    plain.show();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    auto *parent = new QTreeWidgetItem(QStringList{QStringLiteral("case")});
    plain.addTopLevelItem(parent);
    QList<QTreeWidgetItem *> items;
    items.reserve(texts.size());
    for (const QString &text : texts) {
        auto *item = new QTreeWidgetItem(QStringList{text});
        item->setIcon(0, icon);
        items.append(item);
    }
    parent->addChildren(items);
    plain.expandItem(parent);
    QCoreApplication::processEvents();
    plain.viewport()->repaint();
    return double(timer.nsecsElapsed());
}

QStringList itemTexts(const TreeUnderTest &t, int slot)
{
    QStringList out;
    const CaseRecord &c = *t.view.store.caseAt(slot);
    for (TreeItemId item : t.tree.children(c.caseItem))
        out << t.tree.itemText(item);
    return out;
}

// Event-list build (decoding included) into the widget, until it has painted again.
void BM_BuildEventList50k(benchmark::State &state)
{
    TreeUnderTest t;
    const QIcon icon(QPixmap::fromImage(CaseTreeIcons::image(4)));
    double buildNs = 0;
    double plainNs = 0;
    double closeNs = 0;
    int items = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int slot = t.createCase();
        state.ResumeTiming();

        QElapsedTimer build;
        build.start();
        BuildEventList(t.view, slot);
        t.settle();
        buildNs += double(build.nsecsElapsed());

        state.PauseTiming();
        const QStringList texts = itemTexts(t, slot);
        items = int(texts.size());
        plainNs += plainFillNs(texts, icon);
        QElapsedTimer close;
        close.start();
        t.view.OnCloseCase(slot);
        t.settle();
        closeNs += double(close.nsecsElapsed());
        state.ResumeTiming();
    }
    const double n = double(state.iterations());
    state.counters["items"] = items;
    state.counters["plain_fill_ms"] = plainNs / n / 1e6;
    state.counters["x_plain_fill"] = buildNs / plainNs;
    state.counters["close_ms"] = closeNs / n / 1e6;
}
BENCHMARK(BM_BuildEventList50k)->Unit(benchmark::kMillisecond);

// After an annotation is added or edited: every event item deleted and inserted again.
void BM_RebuildEventItems50k(benchmark::State &state)
{
    TreeUnderTest t;
    const int slot = t.createCase();
    BuildEventList(t.view, slot);
    t.settle();
    t.tree.selectItem(t.view.store.caseAt(slot)->events[25000].treeItem);
    for (auto _ : state) {
        t.view.OnRebuildEvents(slot);
        t.settle();
    }
    state.counters["items"] = t.tree.childCount(t.view.store.caseAt(slot)->caseItem);
}
BENCHMARK(BM_RebuildEventItems50k)->Unit(benchmark::kMillisecond);

// A click on an event: the selection walk over the case's events and the publishing.
void BM_SelectEvent50k(benchmark::State &state)
{
    TreeUnderTest t;
    const int slot = t.createCase();
    BuildEventList(t.view, slot);
    t.settle();
    const TreeItemId a = t.view.store.caseAt(slot)->events[49000].treeItem;
    const TreeItemId b = t.view.store.caseAt(slot)->events[48000].treeItem;
    bool flip = false;
    for (auto _ : state) {
        t.tree.selectItem((flip = !flip) ? a : b);
        t.settle();
    }
}
BENCHMARK(BM_SelectEvent50k)->Unit(benchmark::kMillisecond);

} // namespace

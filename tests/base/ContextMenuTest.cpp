#include "base/CommandIds.h"
#include "base/ContextMenuBuilder.h"
#include "base/ContextMenuTemplate.h"
#include "base/LanguagePack.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace CommandId;

LanguagePack packFrom(const QString &content)
{
    QByteArray bytes;
    for (QChar c : content) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    LanguagePack pack;
    pack.parseUtf16(bytes);
    return pack;
}

// A complete pack whose texts name their number: "E<n>" in the first column, "I<n>" in
// the second, so a label shows which text it came from.
LanguagePack numberedPack(uint8_t language)
{
    QString content = QStringLiteral("language\t%1\r\n").arg(language);
    for (int n = 0; n < 173; ++n)
        content += QStringLiteral("E%1\tI%1\r\n").arg(n);
    return packFrom(content);
}

// "label#id" per command, "-" per separator, "title[...]" per nested submenu.
QStringList describe(const QList<MenuEntry> &entries)
{
    QStringList out;
    for (const MenuEntry &e : entries) {
        switch (e.kind) {
        case MenuEntry::Kind::Command: out << QStringLiteral("%1#%2").arg(e.text).arg(e.commandId); break;
        case MenuEntry::Kind::Separator: out << "-"; break;
        case MenuEntry::Kind::Submenu: out << e.text + "[" + describe(e.entries).join(",") + "]"; break;
        }
    }
    return out;
}

QList<int> commandIds(const QList<MenuEntry> &entries)
{
    QList<int> out;
    for (const MenuEntry &e : entries) {
        if (e.kind == MenuEntry::Kind::Command)
            out << e.commandId;
        else if (e.kind == MenuEntry::Kind::Submenu)
            out << commandIds(e.entries);
    }
    return out;
}

TEST(ContextMenuTemplate, LanguageTwoPicksTheItalianTemplateAndEveryOtherTheEnglish)
{
    EXPECT_EQ(ContextMenus::templateFor(2).id, 137);
    for (uint8_t language : {0, 1, 3, 255})
        EXPECT_EQ(ContextMenus::templateFor(language).id, 135);
}

TEST(ContextMenuTemplate, BothTemplatesOfferEveryRelabelledCommandOnce)
{
    const QList<int> relabelled{32771, 32772, 32773, 32774, 32781, 32782, 32784, 32785, 32786,
                                32787, 32805, 32788, 32789, 32790, 32791, 32792, 32793, 32802,
                                32803, 32804, 32799, 32800, 32801, 32798, 32806, 32807, CommandId::UndoAdjustment};
    // Binding the folder's CPR and sound files and the review status have no text of the pack:
    // their labels are fixed.
    for (const ContextMenuTemplate *t : {&ContextMenus::englishTemplate(), &ContextMenus::italianTemplate()}) {
        ASSERT_EQ(t->submenus.size(), 6);
        QList<int> all;
        for (const MenuEntry &sub : t->submenus)
            all << commandIds(sub.entries);
        std::sort(all.begin(), all.end());
        QList<int> expected = relabelled + QList<int>{CommandId::BindCompanions, CommandId::ReviewStatus};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(all, expected) << "template " << t->id;
        for (int id : relabelled)
            EXPECT_GE(ContextMenus::textNumberFor(id), 145);
    }
    EXPECT_EQ(ContextMenus::textNumberFor(CommandId::Open), -1);
}

TEST(ContextMenuTemplate, EnglishSubmenusFromTheBuiltInPack)
{
    LanguagePack pack;
    pack.loadBuiltIn();
    using CS = ContextSubmenu;
    EXPECT_EQ(describe(ContextMenus::submenu(pack, CS::Case)),
              (QStringList{"Close#32771", "Add Annotation#32772",
                           "Use this folder's CPR and sound files for this case#32923", "Undo adjustment#32932",
                           "Review status...#32924", "-",
                           "Mark as Viewed#32773", "Mark as Not Viewed#32774"}));
    EXPECT_EQ(describe(ContextMenus::submenu(pack, CS::Annotation)),
              (QStringList{"Edit / View Annotation#32781", "Delete Annotation#32782"}));
    EXPECT_EQ(describe(ContextMenus::submenu(pack, CS::EntireEcg)),
              (QStringList{"CPR Periods[Start#32784,End#32785,Delete#32786]", "Show CPR Periods#32787"}));
    EXPECT_EQ(describe(ContextMenus::submenu(pack, CS::Display)),
              (QStringList{"Display 6sec View#32805", "Display Large View#32788", "Display Event Text#32789"}));
    EXPECT_EQ(describe(ContextMenus::submenu(pack, CS::EnlargedEcg)),
              (QStringList{"CPR Periods[Start#32799,End#32800,Delete#32801]", "Show CPR Periods#32798", "-",
                           "Add Annotation#32790", "-", "Export Entire ECG...#32791", "Copy Segment#32792", "-",
                           "Select Segment#32793", "Deselect Segment#32802", "Deselect All Segment#32803", "-",
                           "Print All Segment#32804"}));
    EXPECT_EQ(describe(ContextMenus::submenu(pack, CS::Report)),
              (QStringList{"Incident Log#32806", "ECG waveform#32807"}));
}

TEST(ContextMenuTemplate, RelabelsByCommandFromTheLanguagesColumnAndKeepsNestedTitles)
{
    const LanguagePack english = numberedPack(1);
    const auto enlarged = ContextMenus::submenu(english, ContextSubmenu::EnlargedEcg);
    EXPECT_EQ(describe(enlarged).mid(0, 4),
              (QStringList{"CPR Periods[E151#32799,E152#32800,E153#32801]", "E154#32798", "-", "E146#32790"}));
    EXPECT_EQ(ContextMenus::findCommand(ContextMenus::submenu(english, ContextSubmenu::Case), AddAnnotation)->text,
              "E146");
    EXPECT_EQ(ContextMenus::findCommand(ContextMenus::submenu(english, ContextSubmenu::Report), IncidentLog)->text,
              "E164");

    const LanguagePack italian = numberedPack(2);
    EXPECT_EQ(describe(ContextMenus::submenu(italian, ContextSubmenu::EntireEcg)),
              (QStringList{"Periodi CPR[I151#32784,I152#32785,I153#32786]", "I154#32787"}));
    EXPECT_EQ(describe(ContextMenus::submenu(italian, ContextSubmenu::Display)),
              (QStringList{"I155#32805", "I156#32788", "I157#32789"}));
    EXPECT_EQ(describe(ContextMenus::submenu(italian, ContextSubmenu::Annotation)),
              (QStringList{"I149#32781", "I150#32782"}));
}

TEST(ContextMenuTemplate, ItalianCaseMenuEndsWithTheFixedViewedLabels)
{
    const LanguagePack italian = numberedPack(2);
    EXPECT_EQ(describe(ContextMenus::submenu(italian, ContextSubmenu::Case)),
              (QStringList{"I145#32771", "I146#32772", "Usa i file CPR e audio di questa cartella per questo caso#32923",
                           "Annulla correzione#32932", "Stato della revisione...#32924", "-", "Segna come già visto#32773",
                           "Segna come non visto#32774"}));
    // English keeps the pack's labels for them.
    EXPECT_EQ(ContextMenus::findCommand(ContextMenus::submenu(numberedPack(1), ContextSubmenu::Case), MarkViewed)
                  ->text,
              "E147");
}

TEST(ContextMenuTemplate, TextMissingFromThePackKeepsTheTemplateLabel)
{
    const LanguagePack shortPack = packFrom("language\t2\r\nEnglish\tItaliano\r\n");
    EXPECT_EQ(describe(ContextMenus::submenu(shortPack, ContextSubmenu::Report)),
              (QStringList{"Registro dell'intervento#32806", "Tracciato ECG#32807"}));
}

TEST(ContextMenuBuilder, ActionsCarryTheirCommandsAndStatesCanBeSet)
{
    const LanguagePack pack = numberedPack(1);
    std::unique_ptr<QMenu> menu = ContextMenuBuilder::build(pack, ContextSubmenu::EnlargedEcg);

    QAction *end = ContextMenuBuilder::findAction(menu.get(), EnlargedCprEnd);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end->text(), "E152");
    EXPECT_EQ(ContextMenuBuilder::commandOf(end), EnlargedCprEnd);
    ASSERT_NE(menu->actions().first()->menu(), nullptr);
    EXPECT_EQ(menu->actions().first()->menu()->title(), "CPR Periods");

    EXPECT_TRUE(ContextMenuBuilder::setEnabled(menu.get(), ExportEntireEcg, false));
    EXPECT_FALSE(ContextMenuBuilder::findAction(menu.get(), ExportEntireEcg)->isEnabled());
    EXPECT_TRUE(ContextMenuBuilder::setChecked(menu.get(), EnlargedShowCprPeriods, true));
    EXPECT_TRUE(ContextMenuBuilder::findAction(menu.get(), EnlargedShowCprPeriods)->isChecked());

    EXPECT_TRUE(ContextMenuBuilder::removeCommand(menu.get(), SelectSegment));
    EXPECT_EQ(ContextMenuBuilder::findAction(menu.get(), SelectSegment), nullptr);
    EXPECT_TRUE(ContextMenuBuilder::removeCommand(menu.get(), EnlargedCprDelete));
    EXPECT_EQ(menu->actions().first()->menu()->actions().size(), 2);
    EXPECT_FALSE(ContextMenuBuilder::setEnabled(menu.get(), CloseCase, false));
}

TEST(ContextMenuBuilder, ItalianMenuHasItalianNestedTitle)
{
    std::unique_ptr<QMenu> menu = ContextMenuBuilder::build(numberedPack(2), ContextSubmenu::EntireEcg);
    EXPECT_EQ(menu->actions().first()->menu()->title(), "Periodi CPR");
    EXPECT_EQ(ContextMenuBuilder::findAction(menu.get(), EntireShowCprPeriods)->text(), "I154");
}

TEST(ContextMenuBuilder, ExecReturnsTheChosenCommandOrZero)
{
    const LanguagePack pack = numberedPack(1);
    std::unique_ptr<QMenu> menu = ContextMenuBuilder::build(pack, ContextSubmenu::Report);
    QAction *log = ContextMenuBuilder::findAction(menu.get(), IncidentLog);
    QTimer::singleShot(0, menu.get(), [&] {
        menu->setActiveAction(log);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu.get(), &enter);
    });
    EXPECT_EQ(ContextMenuBuilder::exec(*menu, ContextMenus::reportMenuPosition(QPoint(100, 200))), IncidentLog);
    EXPECT_EQ(menu->pos().y(), 210);

    QTimer::singleShot(0, menu.get(), [&] {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(menu.get(), &esc);
    });
    EXPECT_EQ(ContextMenuBuilder::exec(*menu, QPoint(100, 200)), 0);
}

} // namespace

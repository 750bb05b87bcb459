#include "base/ContextMenuTemplate.h"

#include "base/AdjustTexts.h"
#include "base/CommandIds.h"
#include "base/LanguagePack.h"

#include <array>
#include <utility>

namespace {

MenuEntry command(int id, const char *label)
{
    return MenuEntry{MenuEntry::Kind::Command, id, QString::fromUtf8(label), {}};
}

MenuEntry separator()
{
    return MenuEntry{MenuEntry::Kind::Separator, 0, QString(), {}};
}

MenuEntry popup(const char *title, QList<MenuEntry> entries)
{
    return MenuEntry{MenuEntry::Kind::Submenu, 0, QString::fromUtf8(title), std::move(entries)};
}

// Labels of one template, in the order the entries below use them.
struct TemplateLabels {
    const char *sub[6];
    const char *close, *addAnnotation, *markViewed, *markNotViewed, *bindCompanions, *undoAdjustment, *reviewStatus;
    const char *editAnnotation, *deleteAnnotation;
    const char *cprPeriods, *start, *end, *del, *showCpr;
    const char *sixSecond, *largeView, *eventText;
    const char *exportEcg, *copySegment, *selectSegment, *deselectSegment, *deselectAll, *printAll;
    const char *incidentLog, *ecgWaveform;
};

// Both templates share one layout; only their labels differ.
ContextMenuTemplate makeTemplate(int id, const TemplateLabels &l)
{
    using namespace CommandId;
    ContextMenuTemplate t;
    t.id = id;
    t.submenus = {
        popup(l.sub[0], {command(CloseCase, l.close), command(AddAnnotation, l.addAnnotation),
                         command(BindCompanions, l.bindCompanions), command(UndoAdjustment, l.undoAdjustment),
                         command(ReviewStatus, l.reviewStatus), separator(),
                         command(MarkViewed, l.markViewed), command(MarkNotViewed, l.markNotViewed)}),
        popup(l.sub[1], {command(EditAnnotation, l.editAnnotation), command(DeleteAnnotation, l.deleteAnnotation)}),
        popup(l.sub[2], {popup(l.cprPeriods, {command(EntireCprStart, l.start), command(EntireCprEnd, l.end),
                                              command(EntireCprDelete, l.del)}),
                         command(EntireShowCprPeriods, l.showCpr)}),
        popup(l.sub[3], {command(DisplaySixSecondView, l.sixSecond), command(DisplayLargeView, l.largeView),
                         command(DisplayEventText, l.eventText)}),
        popup(l.sub[4], {popup(l.cprPeriods, {command(EnlargedCprStart, l.start), command(EnlargedCprEnd, l.end),
                                              command(EnlargedCprDelete, l.del)}),
                         command(EnlargedShowCprPeriods, l.showCpr), separator(),
                         command(EnlargedAddAnnotation, l.addAnnotation), separator(),
                         command(ExportEntireEcg, l.exportEcg), command(CopySegment, l.copySegment), separator(),
                         command(SelectSegment, l.selectSegment), command(DeselectSegment, l.deselectSegment),
                         command(DeselectAllSegment, l.deselectAll), separator(),
                         command(PrintAllSegment, l.printAll)}),
        popup(l.sub[5], {command(IncidentLog, l.incidentLog), command(EcgWaveform, l.ecgWaveform)}),
    };
    return t;
}

// Command identifier → text number of its label (a text may label two commands).
constexpr std::array<std::pair<int, int>, 27> RelabelTable{{
    {CommandId::CloseCase, 145},
    {CommandId::AddAnnotation, 146},
    {CommandId::MarkViewed, 147},
    {CommandId::MarkNotViewed, 148},
    {CommandId::EditAnnotation, 149},
    {CommandId::DeleteAnnotation, 150},
    {CommandId::EntireCprStart, 151},
    {CommandId::EntireCprEnd, 152},
    {CommandId::EntireCprDelete, 153},
    {CommandId::EntireShowCprPeriods, 154},
    {CommandId::DisplaySixSecondView, 155},
    {CommandId::DisplayLargeView, 156},
    {CommandId::DisplayEventText, 157},
    {CommandId::EnlargedAddAnnotation, 146},
    {CommandId::ExportEntireEcg, 158},
    {CommandId::CopySegment, 159},
    {CommandId::SelectSegment, 160},
    {CommandId::DeselectSegment, 161},
    {CommandId::DeselectAllSegment, 162},
    {CommandId::PrintAllSegment, 163},
    {CommandId::EnlargedCprStart, 151},
    {CommandId::EnlargedCprEnd, 152},
    {CommandId::EnlargedCprDelete, 153},
    {CommandId::EnlargedShowCprPeriods, 154},
    {CommandId::IncidentLog, 164},
    {CommandId::EcgWaveform, 165},
    {CommandId::UndoAdjustment, AdjustText::UndoAdjustment},
}};

// Takes the command out of entries (top level only); true when it was there.
bool takeCommand(QList<MenuEntry> &entries, int commandId)
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].kind == MenuEntry::Kind::Command && entries[i].commandId == commandId) {
            entries.removeAt(i);
            return true;
        }
    }
    return false;
}

} // namespace

namespace ContextMenus {

const ContextMenuTemplate &englishTemplate()
{
    static const ContextMenuTemplate t = makeTemplate(
        EnglishTemplateId,
        {{"Case", "Annotation", "Entire ECG", "Display", "Enlarged ECG", "Report"},
         "Close", "Add Annotation", "Mark as Viewed", "Mark as Not Viewed",
         "Use this folder's CPR and sound files for this case", "Undo adjustment", "Review status...",
         "Edit / View Annotation", "Delete Annotation",
         "CPR Periods", "Start", "End", "Delete", "Show CPR Periods",
         "Display 6sec View", "Display Large View", "Display Event Text",
         "Export Entire ECG...", "Copy Segment", "Select Segment", "Deselect Segment", "Deselect All Segment",
         "Print All Segment",
         "Incident Log", "ECG waveform"});
    return t;
}

const ContextMenuTemplate &italianTemplate()
{
    static const ContextMenuTemplate t = makeTemplate(
        ItalianTemplateId,
        {{"Caso", "Annotazione", "ECG completo", "Visualizza", "ECG ingrandito", "Rapporto"},
         "Chiudi", "Aggiungi annotazione", "Segna come visto", "Segna come non visto",
         "Usa i file CPR e audio di questa cartella per questo caso", "Annulla correzione",
         "Stato della revisione...",
         "Modifica / Visualizza annotazione", "Elimina annotazione",
         "Periodi CPR", "Inizio", "Fine", "Elimina", "Mostra periodi CPR",
         "Visualizza vista 6 sec", "Visualizza vista grande", "Visualizza testo eventi",
         "Esporta ECG completo...", "Copia segmento", "Seleziona segmento", "Deseleziona segmento",
         "Deseleziona tutti i segmenti", "Stampa tutti i segmenti",
         "Registro dell'intervento", "Tracciato ECG"});
    return t;
}

const ContextMenuTemplate &templateFor(uint8_t language)
{
    return language == 2 ? italianTemplate() : englishTemplate();
}

int textNumberFor(int commandId)
{
    for (const auto &[id, text] : RelabelTable) {
        if (id == commandId)
            return text;
    }
    return -1;
}

void relabel(QList<MenuEntry> &entries, const LanguagePack &pack)
{
    for (MenuEntry &e : entries) {
        if (e.kind == MenuEntry::Kind::Submenu) {
            relabel(e.entries, pack);
        } else if (e.kind == MenuEntry::Kind::Command) {
            const int number = textNumberFor(e.commandId);
            if (number >= 0 && pack.hasText(number))
                e.text = pack.GetText(number);
        }
    }
}

QList<MenuEntry> submenu(const LanguagePack &pack, ContextSubmenu which)
{
    QList<MenuEntry> entries = templateFor(pack.language()).submenus.at(int(which)).entries;
    relabel(entries, pack);
    if (which == ContextSubmenu::Case && pack.language() == 2) {
        if (takeCommand(entries, CommandId::MarkViewed))
            entries.append(MenuEntry{MenuEntry::Kind::Command, CommandId::MarkViewed, ItalianMarkViewedText, {}});
        if (takeCommand(entries, CommandId::MarkNotViewed))
            entries.append(
                MenuEntry{MenuEntry::Kind::Command, CommandId::MarkNotViewed, ItalianMarkNotViewedText, {}});
    }
    return entries;
}

const MenuEntry *findCommand(const QList<MenuEntry> &entries, int commandId)
{
    for (const MenuEntry &e : entries) {
        if (e.kind == MenuEntry::Kind::Command && e.commandId == commandId)
            return &e;
        if (e.kind == MenuEntry::Kind::Submenu) {
            if (const MenuEntry *found = findCommand(e.entries, commandId))
                return found;
        }
    }
    return nullptr;
}

QPoint reportMenuPosition(const QPoint &cursor)
{
    return cursor + QPoint(0, 10);
}

} // namespace ContextMenus

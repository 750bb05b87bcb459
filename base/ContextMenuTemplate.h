#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <cstdint>

class LanguagePack;

// One entry of a context-menu template: a command, a separator or a nested submenu.
struct MenuEntry {
    enum class Kind { Command, Separator, Submenu };

    Kind kind = Kind::Command;
    int commandId = 0;         // Command only: the identifier the action carries
    QString text;              // a command's label or a submenu's title
    QList<MenuEntry> entries;  // Submenu only, in menu order
};

// The six submenus every context-menu template holds, by position.
enum class ContextSubmenu {
    Case = 0,         // case node of the tree: close, add annotation, mark viewed / not viewed
    Annotation = 1,   // annotation item of the tree: edit or view, delete
    EntireEcg = 2,    // entire ECG: CPR periods
    Display = 3,      // enlarged ECG "..." button: 6-second, large view, event text
    EnlargedEcg = 4,  // enlarged ECG: CPR periods, annotation, segments
    Report = 5,       // Print command without a pending segment print: incident log, ECG waveform
};

// A context-menu template: the six submenus, in order, with their template labels.
struct ContextMenuTemplate {
    int id = 0;                 // 135 English, 137 Italian
    QList<MenuEntry> submenus;  // six Submenu entries, indexed by ContextSubmenu
};

namespace ContextMenus {

constexpr int EnglishTemplateId = 135;
constexpr int ItalianTemplateId = 137;

// The Italian case menu shows these labels for the two viewed commands, whatever the pack says.
inline const QString ItalianMarkViewedText = QStringLiteral("Segna come già visto");
inline const QString ItalianMarkNotViewedText = QStringLiteral("Segna come non visto");

const ContextMenuTemplate &englishTemplate();
const ContextMenuTemplate &italianTemplate();
// Template 137 for language number 2, template 135 for every other number.
const ContextMenuTemplate &templateFor(uint8_t language);

// Text number that labels a context command; -1 for an identifier that is not relabelled.
int textNumberFor(int commandId);

// Replaces the label of every command (nested ones too) with the pack's text for it;
// submenu titles stay. A text the pack does not have leaves the template's label.
void relabel(QList<MenuEntry> &entries, const LanguagePack &pack);

// The submenu as a caller shows it before setting item states: taken from the template
// of the pack's language and relabelled. With language 2 the case menu ends with the two
// viewed commands, removed from their places and appended with the fixed Italian labels.
QList<MenuEntry> submenu(const LanguagePack &pack, ContextSubmenu which);

// The command entry with that identifier, searched through nested submenus; null when absent.
const MenuEntry *findCommand(const QList<MenuEntry> &entries, int commandId);

// Where the report menu of the Print command opens: 10 pixels below the cursor.
QPoint reportMenuPosition(const QPoint &cursor);

} // namespace ContextMenus

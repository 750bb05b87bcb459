// The program in Italian, visited as a reviewer would: the main window with a simulated
// rescue open, every tab, the main dialogs and the messages the flows raise. Each text shown
// must be the Italian one where the language pack's Italian differs from its English, and
// must fit the widget that shows it.
#include "AppArchives.h"
#include "app/CAboutDlg.h"
#include "app/CAnnotation.h"
#include "app/CCprQualityTab.h"
#include "app/CCprSettingsDlg.h"
#include "app/CDetailView.h"
#include "app/CLanguageSub.h"
#include "app/CMainFrame.h"
#include "app/COpenMifQ21.h"
#include "app/CRavelinView.h"
#include "app/CaseLibraryWindow.h"
#include "app/QtTranslations.h"
#include "base/CommandIds.h"
#include "case/AnnotationForm.h"
#include "cpr/CprSettingsForm.h"
#include "device/OpenDialogLogic.h"
#include "tools/Simulator.h"
#include "device/MifCase.h"
#include "archive/AedArchiveWriter.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QTextDocument>
#include <QToolBar>
#include <QTranslator>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A shown text as compared: without accelerators ("(&F)", "&"), shortcut ("\tCtrl+O"),
// surrounding blanks and a closing colon.
QString comparable(QString text)
{
    static const QRegularExpression accelerator(QStringLiteral("\\(&.\\)"));
    text.remove(accelerator);
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    text = text.section(QLatin1Char('\t'), 0, 0).trimmed();
    while (text.endsWith(QLatin1Char(':')))
        text = text.chopped(1).trimmed();
    return text;
}

// Whether a text says something in a language: names, numbers and units are left alone.
bool hasWords(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    QString rest = text;
    rest.remove(placeholder);
    static const QRegularExpression word(QStringLiteral("\\p{L}{3,}"));
    return word.match(rest).hasMatch();
}

// The English column of the pack where the Italian differs: whole texts, and the texts with
// "%1" placeholders as patterns that match them filled in.
class EnglishTexts
{
public:
    explicit EnglishTexts(const LanguagePack &pack)
    {
        // Text 0 holds the languages' own names, shown as they are.
        for (int n = 1; n < pack.textCount(); ++n) {
            const QStringList &columns = pack.columns(n);
            if (columns.size() < 2)
                continue;
            const QString english = comparable(columns.at(0));
            if (english == comparable(columns.at(1)) || !hasWords(english))
                continue;
            if (english.contains(QRegularExpression(QStringLiteral("%\\d")))) {
                QString pattern = QRegularExpression::escape(english);
                pattern.replace(QRegularExpression(QStringLiteral("%\\d")), QStringLiteral(".*"));
                m_patterns.append({QRegularExpression(QStringLiteral("\\A") + pattern + QStringLiteral("\\z"),
                                                      QRegularExpression::DotMatchesEverythingOption),
                                   n});
            } else {
                m_whole.insert(english, n);
            }
        }
    }

    // The number of the English text that text shows, -1 when it shows none.
    int englishText(const QString &shown) const
    {
        const QString text = comparable(shown);
        if (text.isEmpty())
            return -1;
        if (const auto it = m_whole.constFind(text); it != m_whole.cend())
            return it.value();
        for (const auto &[pattern, number] : m_patterns)
            if (pattern.match(text).hasMatch())
                return number;
        return -1;
    }

private:
    QHash<QString, int> m_whole;
    QList<std::pair<QRegularExpression, int>> m_patterns;
};

QString describe(const QObject *o)
{
    QString path;
    for (; o; o = o->parent()) {
        QString part = QString::fromLatin1(o->metaObject()->className());
        if (!o->objectName().isEmpty())
            part += QLatin1Char('#') + o->objectName();
        path = path.isEmpty() ? part : part + QStringLiteral(" < ") + path;
        if (o->isWidgetType() && static_cast<const QWidget *>(o)->isWindow())
            break;
    }
    return path;
}

// Everything shown in a window that is English or cut, with where it is shown.
class Visit
{
public:
    explicit Visit(const LanguagePack &pack) : m_english(pack) {}

    QStringList faults;

    void text(const QString &where, const QString &text)
    {
        const int number = m_english.englishText(text);
        if (number >= 0)
            faults << QStringLiteral("English text %1 \"%2\" in %3").arg(number).arg(text, where);
        // A decimal number with a point ("64.5 %"); paths and version numbers are no numbers.
        static const QRegularExpression decimalPoint(QStringLiteral("(?<![\\d.])\\d+\\.\\d+(?![\\d.])"));
        if (!text.contains(QLatin1Char('/')) && decimalPoint.match(text).hasMatch())
            faults << QStringLiteral("Decimal point in \"%1\" in %2").arg(text, where);
    }

    void fits(const QString &where, const QString &text, const QFontMetrics &metrics, int room)
    {
        const int needed = metrics.horizontalAdvance(comparable(text));
        if (needed > room)
            faults << QStringLiteral("\"%1\" needs %2 px but has %3 px in %4").arg(text).arg(needed).arg(room).arg(where);
    }

    void message(const QString &where, const QString &text)
    {
        this->text(where, text);
        for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            this->text(where, line);
    }

    // The window and every widget in it that is shown.
    void window(QWidget *top)
    {
        QApplication::processEvents();
        text(describe(top) + QStringLiteral(" title"), top->windowTitle());
        widget(top);
        for (QWidget *w : top->findChildren<QWidget *>())
            if (w->isVisibleTo(top))
                widget(w);
    }

    void menu(const QString &where, const QList<QAction *> &actions)
    {
        for (QAction *a : actions) {
            if (a->isSeparator())
                continue;
            text(where + QStringLiteral(" menu item"), a->text());
            text(where + QStringLiteral(" tooltip of \"") + a->text() + QLatin1Char('"'), a->toolTip());
            if (a->menu())
                menu(where + QStringLiteral(" > ") + a->text(), a->menu()->actions());
        }
    }

private:
    void widget(QWidget *w)
    {
        const QString where = describe(w);
        if (!w->toolTip().isEmpty())
            text(where + QStringLiteral(" tooltip"), plain(w->toolTip()));
        // A text's widget lies inside the widget it sits in, or part of it is cut off.
        if ((qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)) && w->parentWidget()
            && !w->parentWidget()->rect().contains(w->geometry()))
            faults << QStringLiteral("%1 reaches outside its parent (%2 in %3)")
                          .arg(where, rectText(w->geometry()), rectText(w->parentWidget()->rect()));
        if (auto *lineEdit = qobject_cast<QLineEdit *>(w))
            text(where, lineEdit->text());
        if (auto *label = qobject_cast<QLabel *>(w)) {
            const QString shown = plain(label->text());
            text(where, shown);
            if (!label->wordWrap() && !shown.contains(QLatin1Char('\n')) && label->pixmap().isNull())
                fits(where, shown, label->fontMetrics(), label->contentsRect().width());
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            text(where, button->text());
            if (button->icon().isNull())
                fits(where, button->text(), button->fontMetrics(), button->width());
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            text(where, group->title());
        } else if (auto *bar = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < bar->count(); ++i) {
                text(where + QStringLiteral(" tab"), bar->tabText(i));
                text(where + QStringLiteral(" tab tooltip"), bar->tabToolTip(i));
                fits(where + QStringLiteral(" tab"), bar->tabText(i), bar->fontMetrics(), bar->tabRect(i).width());
            }
        } else if (auto *header = qobject_cast<QHeaderView *>(w)) {
            headers(where, header);
        } else if (auto *view = qobject_cast<QAbstractItemView *>(w)) {
            cells(where, view);
        }
        if (auto *menuBar = qobject_cast<QMenuBar *>(w))
            menu(where, menuBar->actions());
        else if (!qobject_cast<QMenu *>(w))
            for (QAction *a : w->actions())
                if (!a->isSeparator())
                    text(where + QStringLiteral(" action"), a->text());
    }

    void headers(const QString &where, QHeaderView *header)
    {
        QAbstractItemModel *model = header->model();
        if (!model)
            return;
        const int count = header->count();
        for (int section = 0; section < count; ++section) {
            if (header->isSectionHidden(section))
                continue;
            const QString shown = model->headerData(section, header->orientation()).toString();
            const QString at = QStringLiteral("%1 section %2").arg(where).arg(section);
            text(at, shown);
            // A section shows its text with the style's margin on either side.
            const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            if (header->orientation() == Qt::Horizontal && !shown.contains(QLatin1Char('\n')))
                fits(at, shown, header->fontMetrics(), header->sectionSize(section) - 2 * margin);
        }
    }

    void cells(const QString &where, QAbstractItemView *view)
    {
        QAbstractItemModel *model = view->model();
        if (!model)
            return;
        const bool table = qobject_cast<QTableView *>(view) != nullptr;
        // A cell shows its text with the style's focus margin and a pixel on either side.
        const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const int rows = std::min(model->rowCount(), 200);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                const QString shown = index.data().toString();
                const QString at = QStringLiteral("%1 cell %2,%3").arg(where).arg(row).arg(column);
                text(at, shown);
                if (table && !shown.contains(QLatin1Char('\n')) && view->textElideMode() != Qt::ElideNone) {
                    const QRect r = view->visualRect(index);
                    if (r.isValid())
                        fits(at, shown, view->fontMetrics(), r.width() - 2 * margin);
                }
            }
        }
    }

    static QString rectText(const QRect &r)
    {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }

    static QString plain(const QString &text)
    {
        if (!Qt::mightBeRichText(text))
            return text;
        QTextDocument d;
        d.setHtml(text);
        return d.toPlainText();
    }

    EnglishTexts m_english;
};

LanguagePack italianPack()
{
    LanguagePack pack = Packs::deployed();
    pack.setLanguage(2);
    return pack;
}

// Prints the faults one a line, so that a failure names the widget and the text.
QString listed(const QStringList &faults)
{
    QStringList unique = faults;
    unique.removeDuplicates();
    return unique.join(QLatin1Char('\n'));
}

class ItalianVisit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_qtTranslations.reset(installQtTranslations(*qApp, texts));
        frame = std::make_unique<CMainFrame>(italianPack(), platform);
        frame->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        frame.reset();
        if (m_qtTranslations)
            QCoreApplication::removeTranslator(m_qtTranslations.get());
    }

    // The demo rescue, simulated into a device folder and converted to an archive beside
    // its CPR feedback, opened in the window (with a review file beside it that is none).
    void openRescue(bool damagedReviewFile = false)
    {
        SimulationOptions options;
        options.minutes = 8;
        options.seed = 7;
        options.model = DeviceFiles::Model::Q25;
        const DeviceFiles::DeviceFolder folder = simulateRescue(options);
        const QString device = dir.file(QStringLiteral("rescue"));
        ASSERT_TRUE(folder.write(device));
        CRavelinView converter(texts, platform);
        converter.state.mifFolderPath = device;
        const int slot = MifCase::CreateCaseFromMif(converter.session);
        ASSERT_GE(slot, 0);
        archive = dir.file(QStringLiteral("rescue/rescue.aed"));
        WriteAedArchive(converter.store, slot, archive, AedArchiveVariant::Conversion);
        if (damagedReviewFile) {
            QFile review(archive + QStringLiteral(".review.json"));
            ASSERT_TRUE(review.open(QIODevice::WriteOnly));
            review.write("{\"format\": \"something else\"}");
        }
        platform.messages.clear();
        ASSERT_TRUE(frame->view().OpenArchiveFile(archive));
    }

    void expectNoFaults(const Visit &visit)
    {
        EXPECT_TRUE(visit.faults.isEmpty()) << visit.faults.size() << " faults:\n" << qPrintable(listed(visit.faults));
    }

    LanguagePack texts = italianPack();
    FakePlatform platform;
    TempDir dir;
    QString archive;
    std::unique_ptr<CMainFrame> frame;

private:
    std::unique_ptr<QTranslator> m_qtTranslations;
};

} // namespace

TEST_F(ItalianVisit, EveryTabOfTheWindowIsItalianAndFits)
{
    openRescue();
    Visit visit(texts);
    CDetailView &detail = *frame->detailView();
    for (int tab = 0; tab < detail.tabBar()->count(); ++tab) {
        detail.tabBar()->setCurrentIndex(tab);
        QApplication::processEvents();
        visit.window(frame.get());
    }
    visit.menu(QStringLiteral("main window"), frame->menuBar()->actions());
    visit.text(QStringLiteral("toolbar name"), frame->toolBar()->windowTitle());
    for (QAction *a : frame->toolBar()->actions())
        visit.text(QStringLiteral("toolbar tooltip"), a->toolTip());
    for (const FakePlatform::Message &m : platform.messages)
        visit.message(QStringLiteral("message on opening the rescue"), m.text);
    expectNoFaults(visit);
}

TEST_F(ItalianVisit, TheMainDialogsAreItalianAndFit)
{
    openRescue();
    Visit visit(texts);
    CRavelinView &view = frame->view();

    CAboutDlg about(view.texts());
    about.show();
    visit.window(&about);

    CLanguageSub language;
    language.show();
    visit.window(&language);

    CprSettingsForm cprForm(view.cprSettings, view.texts());
    CCprSettingsDlg cprSettings(cprForm);
    cprSettings.show();
    visit.window(&cprSettings);

    AnnotationForm annotation(view.session, view.session.selSlot, 0, 1000);
    CAnnotation annotationDialog(annotation);
    annotationDialog.show();
    visit.window(&annotationDialog);

    OpenDialogLogic openLogic(view.state, platform, view.texts());
    COpenMifQ21 open(openLogic);
    open.show();
    visit.window(&open);

    CaseLibraryWindow *library = frame->OnCaseLibrary();
    ASSERT_NE(library, nullptr);
    visit.window(library);

    expectNoFaults(visit);
}

TEST_F(ItalianVisit, TheFlowsSpeakItalian)
{
    openRescue(true);
    CRavelinView &view = frame->view();

    // A review file that is not one (above), an archive that is not there and one cut short.
    view.OpenArchiveFile(dir.file(QStringLiteral("gone.aed")));
    QFile cut(dir.file(QStringLiteral("cut.aed")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(QByteArray(40, '\x01'));
    cut.close();
    view.OpenArchiveFile(cut.fileName());

    // The incident log that no application shows.
    platform.openWithDefaultResult = false;
    view.session.selSlot = 0;
    view.OnIncidentLog();

    Visit visit(texts);
    // The review file moved aside, the missing archive, the cut one, the unshown log.
    ASSERT_GE(platform.messages.size(), 4);
    for (const FakePlatform::Message &m : platform.messages) {
        visit.message(QStringLiteral("message"), m.text);
        visit.text(QStringLiteral("message caption"), m.caption);
    }
    expectNoFaults(visit);
}

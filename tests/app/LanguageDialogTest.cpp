#include "app/CLanguageSub.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs the language question with `act` applied to the dialog once it is up.
uint8_t answerLanguageDialog(const std::function<void(QDialog *)> &act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
    return CLanguageSub::chooseLanguage();
}

void pressKey(QWidget *w, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

TEST(LanguageDialog, EnterOrItalianoGivesTwoAndEverythingElseOne)
{
    EXPECT_EQ(answerLanguageDialog([](QDialog *d) { pressKey(d, Qt::Key_Return); }), 2);
    EXPECT_EQ(answerLanguageDialog([](QDialog *d) { pressKey(d, Qt::Key_Escape); }), 1);
    EXPECT_EQ(answerLanguageDialog([](QDialog *d) { d->close(); }), 1);
    EXPECT_EQ(answerLanguageDialog([](QDialog *d) { static_cast<CLanguageSub *>(d)->italianButton()->click(); }), 2);
    EXPECT_EQ(answerLanguageDialog([](QDialog *d) { static_cast<CLanguageSub *>(d)->englishButton()->click(); }), 1);
}

TEST(LanguageDialog, EnterWhileEnglishHasFocusStillMeansItaliano)
{
    EXPECT_EQ(answerLanguageDialog([](QDialog *d) {
                  auto *english = static_cast<CLanguageSub *>(d)->englishButton();
                  english->setFocus();
                  pressKey(english, Qt::Key_Return);
              }),
              2);
}

TEST(LanguageDialog, CaptionlessWithTwoLargeButtonsLaidOutFromDialogUnits)
{
    CLanguageSub dialog;
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dialog.size(), QSize(250, 141));
    EXPECT_EQ(dialog.englishButton()->text(), "English");
    EXPECT_EQ(dialog.englishButton()->geometry(), QRect(10, 11, 228, 58));
    EXPECT_EQ(dialog.italianButton()->text(), "Italiano");
    EXPECT_EQ(dialog.italianButton()->geometry(), QRect(10, 69, 228, 60));
    EXPECT_TRUE(dialog.italianButton()->isDefault());
    EXPECT_FALSE(dialog.englishButton()->autoDefault());
}

} // namespace

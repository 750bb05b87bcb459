// The program's save dialog asks before a file that is there is replaced: the writers behind
// it only refuse the files a case is read from, and trust the answer for any other file.
#include "app/QtPlatform.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(SaveDialog, AFileThatIsThereIsReplacedOnlyAfterTheQuestion)
{
    TempDir dir;
    const QString kept = dir.write(QStringLiteral("kept.pdf"), "keep me");
    QtPlatform platform;

    // The dialog is accepted with the file that is there; the question is answered with
    // answer, and the dialog cancelled if it is still up.
    const auto save = [&](QMessageBox::StandardButton answer, QString &question) {
        QTimer poll;
        poll.setInterval(5);
        int turns = 0;
        bool pending = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *shown = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(shown)) {
                question = box->text();
                box->button(answer)->click();
            } else if (QDialog *dialog = qobject_cast<QFileDialog *>(shown); dialog && !pending) {
                // Queued: the question runs its own event loop, in which this timer must fire.
                pending = true;
                QMetaObject::invokeMethod(
                    dialog,
                    [dialog, &pending, first = turns++ == 0] {
                        pending = false;
                        first ? dialog->accept() : dialog->reject();
                    },
                    Qt::QueuedConnection);
            }
        });
        poll.start();
        return platform.saveFileDialog(QString(), kept, QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
    };

    QString question;
    EXPECT_EQ(save(QMessageBox::No, question), QString());
    EXPECT_TRUE(question.contains(QStringLiteral("kept.pdf"))) << question.toStdString();

    question.clear();
    EXPECT_EQ(save(QMessageBox::Yes, question), kept);
    EXPECT_FALSE(question.isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("kept.pdf")), QByteArray("keep me")) << "the dialog itself writes nothing";
}

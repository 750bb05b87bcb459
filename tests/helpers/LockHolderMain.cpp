// Takes the review lock of one archive as another reviewer's program would, says so on
// stdout and holds it until killed: the other process of the lock tests.
//   ravelin_lock_holder ARCHIVE REVIEWER
#include "archive/CaseLockFile.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    ReviewerIdentity me = ReviewerIdentity::current();
    me.name = QString::fromLocal8Bit(argv[2]);
    CaseLockFile lock(QString::fromLocal8Bit(argv[1]), me);
    LockHolder holder;
    QString why;
    const ReviewLock::Outcome outcome = lock.take(false, holder, why);
    std::printf("%s\n", outcome == ReviewLock::Outcome::Taken ? "taken" : "not taken");
    std::fflush(stdout);
    if (outcome != ReviewLock::Outcome::Taken)
        return 1;
    for (;;)
        ::pause();
}

#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

class LanguagePack;
class Platform;

// Numbers of the hand-over's texts in the language pack.
namespace HandOverText {
constexpr int Refused = 393; // "%1 of the files ... were not opened ..." (%1: how many; the files follow)
}

// Archives handed over by later starts of the program. They open one after the other once the
// window is there and no modal dialog runs: opening in the middle of a question or a progress
// window would start one flow inside another. Files the hand-over refused are told in one
// message per request, at the same moment.
class HandedOverFiles : public QObject
{
public:
    HandedOverFiles();

    // From now on files open with open, and refused ones are told through platform in texts'
    // language; what came before opens now. window is raised when files come.
    void attach(QWidget &window, Platform &platform, const LanguagePack &texts,
                std::function<void(const QString &)> open);

    void take(const QStringList &files);
    void refuse(const QStringList &files);

    // The message for refused files: how many, then the first ten of them.
    static QString refusedText(const LanguagePack &texts, const QStringList &refused);

private:
    void openPending();

    QPointer<QWidget> m_window;
    Platform *m_platform = nullptr;
    const LanguagePack *m_texts = nullptr;
    std::function<void(const QString &)> m_open;
    QStringList m_pending;
    QList<QStringList> m_refused;
    QTimer m_retry;
};

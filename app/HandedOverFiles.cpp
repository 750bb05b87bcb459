#include "app/HandedOverFiles.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"

#include <QApplication>
#include <QDir>

namespace {
constexpr int ShownRefused = 10;
}

HandedOverFiles::HandedOverFiles()
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(250);
    connect(&m_retry, &QTimer::timeout, this, &HandedOverFiles::openPending);
}

void HandedOverFiles::attach(QWidget &window, Platform &platform, const LanguagePack &texts,
                             std::function<void(const QString &)> open)
{
    m_window = &window;
    m_platform = &platform;
    m_texts = &texts;
    m_open = std::move(open);
    openPending();
}

void HandedOverFiles::take(const QStringList &files)
{
    m_pending += files;
    if (m_window && m_window->isVisible()) {
        if (m_window->isMinimized())
            m_window->showNormal();
        m_window->raise();
        m_window->activateWindow();
    }
    openPending();
}

void HandedOverFiles::refuse(const QStringList &files)
{
    if (files.isEmpty())
        return;
    m_refused.append(files);
    openPending();
}

void HandedOverFiles::openPending()
{
    if (!m_window)
        return;
    if (QApplication::activeModalWidget()) {
        m_retry.start();
        return;
    }
    while (!m_pending.isEmpty() && m_window)
        m_open(m_pending.takeFirst());
    while (!m_refused.isEmpty() && m_window)
        m_platform->messageBox(refusedText(*m_texts, m_refused.takeFirst()), m_texts->GetText(TextId::Caption),
                               Platform::Icon::Warning, Platform::Buttons::Ok);
}

QString HandedOverFiles::refusedText(const LanguagePack &texts, const QStringList &refused)
{
    QStringList shown;
    for (const QString &file : refused.mid(0, ShownRefused))
        shown << QDir::toNativeSeparators(file);
    return texts.GetText(HandOverText::Refused).arg(refused.size()) + QLatin1Char('\n') + shown.join(QLatin1Char('\n'));
}

#pragma once

#include "app/Platform.h"

class QWidget;

// The real dialogs: Qt message boxes and file dialogs, parented to the main window.
class QtPlatform : public Platform
{
public:
    explicit QtPlatform(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    QWidget *parentWidget() const { return m_parent; }

    Answer messageBox(const QString &text, const QString &caption, Icon icon, Buttons buttons) override;

private:
    QWidget *m_parent;
};

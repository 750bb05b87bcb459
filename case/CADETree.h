#pragma once

#include <QTreeWidget>

// The case tree in the left pane: per open case a date node, a device node, a case node
// and one item per event.
class CADETree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CADETree(QWidget *parent = nullptr);
};

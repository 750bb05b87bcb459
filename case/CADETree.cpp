#include "case/CADETree.h"

#include <QHeaderView>

CADETree::CADETree(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(31, 18));
}

#pragma once

#include <QtGlobal>

// Opaque handle of an item in the case tree. The tree control hands these out; the case
// data only stores them. NoTreeItem marks "no item yet".
using TreeItemId = quintptr;
constexpr TreeItemId NoTreeItem = 0;

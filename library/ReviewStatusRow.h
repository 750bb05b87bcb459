#pragma once

#include "library/ReviewStatus.h"

#include <QStringList>

class QSqlQuery;

// The columns of a recording's review status (review_status named r) in the order
// reviewStatusOfRow reads them from the row's column first on; a row without a status (NULL)
// is a new recording.
QStringList reviewStatusColumns();
ReviewStatus reviewStatusOfRow(const QSqlQuery &q, int first);

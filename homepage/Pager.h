#pragma once

#include <QList>

// The links under a page of the hall of fame. With thousands of pages a link
// to each would bury the table: the first and the last page, and two on
// either side of the current one; 0 stands for a gap (…).
QList<qint64> pagerPages(qint64 current, qint64 last);

// The page of the hall of fame that a rank is on, and how many there are.
inline constexpr int entriesPerPage = 50;
qint64 pageOfRank(qint64 rank);

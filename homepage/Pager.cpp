#include "homepage/Pager.h"

#include <algorithm>

QList<qint64> pagerPages(qint64 current, qint64 last)
{
    constexpr qint64 around = 2;
    QList<qint64> pages;
    for (qint64 page = 1; page <= last; ++page) {
        const bool shown = page == 1 || page == last || (page >= current - around && page <= current + around);
        if (shown) {
            pages.append(page);
        } else {
            // One gap for the whole run of pages left out; a gap of a single
            // page is shown as that page instead.
            const qint64 resume = page < current ? std::max<qint64>(current - around, page + 1) : last;
            if (resume - page == 1)
                pages.append(page);
            else
                pages.append(0);
            page = resume - 1;
        }
    }
    return pages;
}

qint64 pageOfRank(qint64 rank)
{
    return (rank - 1) / entriesPerPage + 1;
}

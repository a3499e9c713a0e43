#include "homepage/AcceptLanguage.h"

#include <QList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

struct Range {
    QByteArray tag;   // in lower case
    int weight;       // q in thousandths
};

bool alphanumeric(QByteArrayView text, bool lettersOnly)
{
    return !text.isEmpty() && text.size() <= 8 && std::all_of(text.begin(), text.end(), [&](char c) {
               const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
               return letter || (!lettersOnly && c >= '0' && c <= '9');
           });
}

// 1*8ALPHA *("-" 1*8alphanum), or "*".
bool wellFormedTag(QByteArrayView tag)
{
    if (tag == "*")
        return true;
    qsizetype at = 0;
    for (bool first = true;; first = false) {
        const qsizetype dash = tag.indexOf('-', at);
        const QByteArrayView part = tag.sliced(at, (dash < 0 ? tag.size() : dash) - at);
        if (!alphanumeric(part, first))
            return false;
        if (dash < 0)
            return true;
        at = dash + 1;
    }
}

// "0", "0.5", "1.000": the weight in thousandths, or -1 when it is none.
int weightOf(QByteArrayView q)
{
    if (q.isEmpty() || q.size() > 5 || (q[0] != '0' && q[0] != '1'))
        return -1;
    if (q.size() > 1 && q[1] != '.')
        return -1;
    int weight = (q[0] - '0') * 1000;
    int unit = 100;
    for (char c : q.sliced(std::min<qsizetype>(2, q.size()))) {
        if (c < '0' || c > '9')
            return -1;
        weight += (c - '0') * unit;
        unit /= 10;
    }
    return weight > 1000 ? -1 : weight;
}

QByteArray primary(const QByteArray &tag)
{
    const qsizetype dash = tag.indexOf('-');
    return dash < 0 ? tag : tag.first(dash);
}

} // namespace

QStringList acceptedLanguages(QByteArrayView header)
{
    QList<Range> ranges;
    qsizetype at = 0;
    while (at <= header.size() && ranges.size() < mostRanges) {
        qsizetype comma = header.indexOf(',', at);
        if (comma < 0)
            comma = header.size();
        const QByteArrayView item = header.sliced(at, comma - at);
        at = comma + 1;
        const qsizetype semicolon = item.indexOf(';');
        const QByteArray tag = item.first(semicolon < 0 ? item.size() : semicolon).trimmed().toByteArray().toLower();
        int weight = 1000;
        if (semicolon >= 0) {
            const QByteArrayView parameter = item.sliced(semicolon + 1).trimmed();
            if (!parameter.startsWith("q=") && !parameter.startsWith("Q="))
                continue;
            weight = weightOf(parameter.sliced(2));
        }
        if (tag.isEmpty() || !wellFormedTag(tag) || weight < 0)
            continue;
        ranges.append({tag, weight});
    }
    std::stable_sort(ranges.begin(), ranges.end(), [](const Range &a, const Range &b) { return a.weight > b.weight; });

    QStringList languages;
    for (const Range &range : std::as_const(ranges)) {
        if (range.weight == 0)
            continue;
        if (range.tag != "*") {
            languages.append(QString::fromLatin1(range.tag));
            continue;
        }
        // Whatever the header does not name otherwise, refused or not.
        for (const QByteArrayView spoken : {"ja", "en"}) {
            if (std::none_of(ranges.cbegin(), ranges.cend(),
                             [&](const Range &named) { return primary(named.tag) == spoken; }))
                languages.append(QString::fromLatin1(spoken.data(), spoken.size()));
        }
    }
    return languages;
}

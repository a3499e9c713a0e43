#pragma once

#include <QByteArrayView>
#include <QStringList>

// The languages a request's Accept-Language header asks for, most wanted
// first (equal weights keep the order sent), without those it refuses
// (q=0). A "*" stands for Japanese and English where the header names
// neither otherwise. Ranges that are not well formed are skipped, and only
// the first `mostRanges` are read: the header is the client's to make up.
QStringList acceptedLanguages(QByteArrayView header);

inline constexpr qsizetype mostRanges = 32;

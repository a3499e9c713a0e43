#pragma once

#include "rules/Language.h"

#include <QLatin1StringView>
#include <QStringView>

// Everything the site refuses or cannot do, with the answer's status, the
// code the JSON interface names it by (the same in every language), and the
// words a person reads, on a page or in the JSON message.
enum class Problem {
    BadJson,
    BadCode,
    ImpossibleScore,
    BadName,
    BadPage,
    BadRange,
    NotFound,
    MethodNotAllowed,
    CrossSite,
    TooLarge,
    WrongType,
    TooMany,
    Unavailable,
    // A name the publisher does not take: one hidden by hand before, or one
    // the word list refuses. Said without repeating the name.
    RefusedName,
    Withdrawn,
};

struct ProblemText {
    Problem problem;
    int status;
    QLatin1StringView code;
    QStringView message;   // in Japanese
    QStringView english;

    QStringView in(Language language) const { return language == Language::English ? english : message; }
};

const ProblemText &describe(Problem problem);

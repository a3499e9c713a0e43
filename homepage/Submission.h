#pragma once

#include "homepage/Problems.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <variant>

// The rules for what a player sends in: a name and a result code, and the
// numbers in the site's addresses.
namespace submission {

inline constexpr int longestName = 20;   // characters (code points)

// The name as it is kept and shown: trimmed and in NFC. Nothing when it is
// empty or longer than `longestName`, holds anything that is not text to
// show (a control or format character, a line or paragraph separator, a
// noncharacter, an unassigned code point or half of a surrogate pair), or
// shows nothing: no character but spaces, marks and blank letters.
std::optional<QString> keptName(const QString &typed);

// The days a code carries, read with the game's own rules: exactly eight
// ASCII digits keeping the code's digit rules (BadCode), and a score that a
// real win can carry (ImpossibleScore).
std::variant<int, Problem> daysOf(QStringView code);

// What a Japanese keyboard puts into the form's code field, folded before the
// rules read it: surrounding spaces, full-width digits.
QString foldTypedCode(const QString &typed);

// A whole number written in ASCII digits alone (no sign, no space); one too
// large for 64 bits comes back as the largest there is. Nothing for anything
// else, the empty text included.
std::optional<qint64> wholeNumber(QStringView text);

} // namespace submission

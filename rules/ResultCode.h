#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

class RandomSource;

// The eight-digit code that a winner registers on the home page. It carries
// the last three digits of the score twice (once as they are, once as their
// complements to 9) and a random pair of digits k and 12 - k.
namespace resultcode {

inline constexpr int length = 8;
inline constexpr int lowestKey = 3;
inline constexpr int keyCount = 7;   // k from 3 to 9

int drawKey(RandomSource &random);
QString make(std::int32_t spinCount, int key);

// The score a code carries (its last three digits of the days used, 0 to
// 999), or nothing when the text is not eight ASCII digits that keep the
// code's digit rules.
std::optional<int> scoreOf(QStringView code);

} // namespace resultcode

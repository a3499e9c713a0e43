#include "homepage/Submission.h"

#include "rules/ResultCode.h"
#include "rules/SlotGame.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace submission {
namespace {

bool isShownText(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:   // what it will be is not known yet
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return !QChar::isNonCharacter(c);
    }
}

// Letters that fonts draw as nothing at all: Hangul's fillers and the blank
// braille pattern.
constexpr char32_t blankLetters[] = {0x115F, 0x1160, 0x3164, 0xFFA0, 0x2800};

// Whether the character draws something by itself: not a space, not a mark
// that only changes the character before it, not a blank letter.
bool isVisible(char32_t c)
{
    if (QChar::isSpace(c) || QChar::isMark(c))
        return false;
    return std::find(std::begin(blankLetters), std::end(blankLetters), c) == std::end(blankLetters);
}

} // namespace

std::optional<QString> keptName(const QString &typed)
{
    // A half of a surrogate pair would not survive normalising: look first.
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        if (c.isHighSurrogate() && i + 1 < typed.size() && typed[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return std::nullopt;
    }
    const QString name = typed.trimmed().normalized(QString::NormalizationForm_C);
    const QList<uint> characters = name.toUcs4();
    if (characters.isEmpty() || characters.size() > longestName)
        return std::nullopt;
    for (uint c : characters) {
        if (!isShownText(c))
            return std::nullopt;
    }
    // A name that shows nothing would be a blank row in the hall of fame.
    if (std::none_of(characters.cbegin(), characters.cend(), isVisible))
        return std::nullopt;
    return name;
}

std::variant<int, Problem> daysOf(QStringView code)
{
    const std::optional<int> score = resultcode::scoreOf(code);
    if (!score)
        return Problem::BadCode;
    // The code keeps only the last three digits of the days; a score below
    // what any game needs, 0 included, is no real win.
    if (*score < fewestDaysToGoal())
        return Problem::ImpossibleScore;
    return *score;
}

QString foldTypedCode(const QString &typed)
{
    QString code = typed.trimmed();
    for (QChar &c : code) {
        if (c >= u'０' && c <= u'９')
            c = QChar(u'0' + (c.unicode() - u'０'));
    }
    return code;
}

std::optional<qint64> wholeNumber(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        value = value > (largest - digit) / 10 ? largest : value * 10 + digit;
    }
    return value;
}

} // namespace submission

#include "homepage/Submission.h"

#include "rules/ResultCode.h"
#include "rules/SlotGame.h"

#include <limits>

namespace submission {
namespace {

bool isShownText(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return !QChar::isNonCharacter(c);
    }
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

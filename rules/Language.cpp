#include "rules/Language.h"

using namespace Qt::StringLiterals;

namespace {

// "en", "en-GB", "en_GB.UTF-8@euro" and "EN" are English; "eng" or "enx" are not.
bool isLanguage(const QString &tag, QLatin1StringView primary)
{
    if (!tag.startsWith(primary, Qt::CaseInsensitive))
        return false;
    return tag.size() == primary.size() || QStringView(u"-_.@").contains(tag.at(primary.size()));
}

// "C", "POSIX", "C.UTF-8": the locale of a program that chose none.
bool isPlainLocale(const QString &locale)
{
    return locale == "POSIX"_L1 || locale == "C"_L1 || locale.startsWith("C."_L1);
}

} // namespace

Language languageFor(const QStringList &wanted)
{
    for (const QString &tag : wanted) {
        if (isLanguage(tag.trimmed(), "ja"_L1))
            return Language::Japanese;
        if (isLanguage(tag.trimmed(), "en"_L1))
            return Language::English;
    }
    return Language::Japanese;
}

QString languageCode(Language language)
{
    return language == Language::English ? u"en"_s : u"ja"_s;
}

Language desktopLanguage()
{
    QString messages;
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        messages = qEnvironmentVariable(variable);
        if (!messages.isEmpty())
            break;
    }
    if (messages.isEmpty() || isPlainLocale(messages))
        return Language::Japanese;
    return languageFor(qEnvironmentVariable("LANGUAGE").split(u':', Qt::SkipEmptyParts) << messages);
}

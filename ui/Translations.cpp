#include "ui/Translations.h"

#include <QCoreApplication>
#include <QTranslator>

using namespace Qt::StringLiterals;

void useLanguage(Language language)
{
    // The rules' texts (symbol names, visitors) come apart from the windows':
    // the home page translates them too, from the same file.
    static QTranslator rules;
    static QTranslator windows;
    const QString code = languageCode(language);
    const std::pair<QTranslator *, QString> files[] = {
        {&rules, u":/i18n/rules_"_s + code + u".qm"_s},
        {&windows, u":/i18n/suiranjuku_"_s + code + u".qm"_s},
    };
    for (const auto &[translator, file] : files) {
        QCoreApplication::removeTranslator(translator);
        if (!translator->load(file))
            qWarning("No translations in %s", qPrintable(file));
        QCoreApplication::installTranslator(translator);
    }
}

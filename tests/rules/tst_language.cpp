#include "rules/Language.h"

#include <QTest>

using namespace Qt::StringLiterals;

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void languageFor_data();
    void languageFor();
    void desktopLanguage_data();
    void desktopLanguage();
};

void LanguageTest::languageFor_data()
{
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<Language>("language");
    // The spellings the desktop's and the browser's tables leave out.
    QTest::newRow("BCP 47 in capitals") << QStringList{u"fr"_s, u"EN-us"_s} << Language::English;
    QTest::newRow("a language that only starts like English") << QStringList{u"eo"_s, u"enx"_s} << Language::Japanese;
}

void LanguageTest::languageFor()
{
    QFETCH(QStringList, wanted);
    QFETCH(Language, language);
    QCOMPARE(::languageFor(wanted), language);
}

void LanguageTest::desktopLanguage_data()
{
    QTest::addColumn<QByteArray>("languageList");   // LANGUAGE
    QTest::addColumn<QByteArray>("all");            // LC_ALL
    QTest::addColumn<QByteArray>("messages");       // LC_MESSAGES
    QTest::addColumn<QByteArray>("lang");           // LANG
    QTest::addColumn<Language>("language");
    QTest::newRow("ja") << QByteArray() << QByteArray() << QByteArray() << "ja_JP.UTF-8"_ba << Language::Japanese;
    QTest::newRow("en") << QByteArray() << QByteArray() << QByteArray() << "en_US.UTF-8"_ba << Language::English;
    QTest::newRow("en_GB:ja") << "en_GB:ja"_ba << QByteArray() << QByteArray() << "ja_JP.UTF-8"_ba << Language::English;
    QTest::newRow("ja:en") << "ja:en"_ba << QByteArray() << QByteArray() << "en_US.UTF-8"_ba << Language::Japanese;
    QTest::newRow("fr") << QByteArray() << QByteArray() << QByteArray() << "fr_FR.UTF-8"_ba << Language::Japanese;
    QTest::newRow("fr, English as the messages' locale")
        << "fr"_ba << QByteArray() << QByteArray() << "en_US.UTF-8"_ba << Language::English;
    QTest::newRow("C") << QByteArray() << QByteArray() << QByteArray() << "C"_ba << Language::Japanese;
    QTest::newRow("C.UTF-8, LANGUAGE=en ignored") << "en"_ba << "C.UTF-8"_ba << QByteArray() << "en_US.UTF-8"_ba
                                                  << Language::Japanese;
    QTest::newRow("POSIX") << QByteArray() << QByteArray() << QByteArray() << "POSIX"_ba << Language::Japanese;
    QTest::newRow("none") << QByteArray() << QByteArray() << QByteArray() << QByteArray() << Language::Japanese;
    QTest::newRow("none, LANGUAGE=en ignored") << "en"_ba << QByteArray() << QByteArray() << QByteArray()
                                               << Language::Japanese;
    QTest::newRow("LC_ALL before LANG") << QByteArray() << "en_US.UTF-8"_ba << QByteArray() << "ja_JP.UTF-8"_ba
                                        << Language::English;
    QTest::newRow("LC_MESSAGES before LANG") << QByteArray() << QByteArray() << "ja_JP.UTF-8"_ba << "en_US.UTF-8"_ba
                                             << Language::Japanese;
}

void LanguageTest::desktopLanguage()
{
    QFETCH(QByteArray, languageList);
    QFETCH(QByteArray, all);
    QFETCH(QByteArray, messages);
    QFETCH(QByteArray, lang);
    QFETCH(Language, language);
    const std::pair<const char *, QByteArray> environment[] = {
        {"LANGUAGE", languageList}, {"LC_ALL", all}, {"LC_MESSAGES", messages}, {"LANG", lang}};
    for (const auto &[variable, value] : environment) {
        if (value.isNull())
            qunsetenv(variable);
        else
            qputenv(variable, value);
    }
    QCOMPARE(::desktopLanguage(), language);
}

QTEST_APPLESS_MAIN(LanguageTest)
#include "tst_language.moc"

#include "rules/Language.h"

#include <QTest>

using namespace Qt::StringLiterals;

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void languageFor_data();
    void languageFor();
};

void LanguageTest::languageFor_data()
{
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<Language>("language");
    QTest::newRow("Japanese") << QStringList{u"ja"_s} << Language::Japanese;
    QTest::newRow("English") << QStringList{u"en"_s} << Language::English;
    QTest::newRow("British English before Japanese, POSIX spelling")
        << QStringList{u"en_GB.UTF-8"_s, u"ja"_s} << Language::English;
    QTest::newRow("Japanese before English") << QStringList{u"ja-JP"_s, u"en"_s} << Language::Japanese;
    QTest::newRow("French only") << QStringList{u"fr-FR"_s, u"fr"_s} << Language::Japanese;
    QTest::newRow("French, then English") << QStringList{u"fr"_s, u"EN-us"_s} << Language::English;
    QTest::newRow("the C locale") << QStringList{u"C"_s} << Language::Japanese;
    QTest::newRow("nothing asked for") << QStringList{} << Language::Japanese;
    QTest::newRow("a language that only starts like English") << QStringList{u"eo"_s, u"enx"_s} << Language::Japanese;
}

void LanguageTest::languageFor()
{
    QFETCH(QStringList, wanted);
    QFETCH(Language, language);
    QCOMPARE(::languageFor(wanted), language);
}

QTEST_APPLESS_MAIN(LanguageTest)
#include "tst_language.moc"

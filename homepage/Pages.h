#pragma once

#include "homepage/Problems.h"
#include "homepage/ResultStore.h"
#include "homepage/Template.h"
#include "rules/Language.h"

#include <QUrlQuery>

#include <array>
#include <optional>

class StaticFiles;

// The registration form as the player left it, with what is wrong next to
// each field.
struct FormState {
    QString name;
    QString code;
    std::optional<Problem> nameProblem;
    std::optional<Problem> codeProblem;
    std::optional<Problem> formProblem;   // about the whole form, shown above it
};

// Whom a page is drawn for: in which language, whether that was chosen in
// the address (then the page's own links keep it), and where the reader is,
// so that the page can link to itself in the other language.
struct Reader {
    Language language = Language::Japanese;
    bool chosen = false;
    QString path;
    QUrlQuery query;   // without the language
};

// Where the rules' translation is compiled in: the pay table's symbol names
// are the game's, translated once for the game and the home page alike.
inline constexpr QLatin1StringView rulesTranslation(":/i18n/rules_en.qm");

// The site's pages in Japanese and in English, put together on the server:
// no script at all.
class Pages {
public:
    // What the pages say outside their templates, in one language.
    struct Words;

    explicit Pages(const StaticFiles &files);

    QString home(const Reader &reader, const ResultStore::Page &leaders) const;
    QString results(const Reader &reader, const ResultStore::Page &page, qint64 number) const;
    // With `withdraw`, the entry's own withdrawal address, shown to the
    // player who registered it, once.
    QString entry(const Reader &reader, const Entry &entry, const QString &withdraw = {}) const;
    // Asks to confirm a withdrawal; `entry` when it is shown.
    QString withdrawal(const Reader &reader, const std::optional<Entry> &entry, const QString &token) const;
    QString withdrawn(const Reader &reader) const;
    QString registration(const Reader &reader, const FormState &form) const;
    QString problem(const Reader &reader, Problem problem) const;

private:
    // Everything drawn in one language: its templates, its words, and what
    // never changes while the server runs.
    struct Edition {
        explicit Edition(Language language);

        Language language;
        const Words &words;
        Template layout;
        Template home;
        Template results;
        Template entry;
        Template registration;
        Template form;
        Template problem;
        Template withdraw;
        Template withdrawn;
        QString payTable;
        QString emptyForm;
    };

    const Edition &edition(const Reader &reader) const;
    QString layout(const Reader &reader, const QString &title, const QString &content) const;
    static QString form(const Edition &edition, const FormState &form);
    static QString ranking(const Edition &edition, const QList<Entry> &entries);

    const StaticFiles &files_;
    std::array<Edition, 2> editions_;
};

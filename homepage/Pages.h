#pragma once

#include "homepage/Problems.h"
#include "homepage/ResultStore.h"
#include "homepage/Template.h"

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

// The site's pages in Japanese, put together on the server: no script at all.
class Pages {
public:
    explicit Pages(const StaticFiles &files);

    QString home(const ResultStore::Page &leaders) const;
    QString results(const ResultStore::Page &page, qint64 number) const;
    // With `withdraw`, the entry's own withdrawal address, shown to the
    // player who registered it, once.
    QString entry(const Entry &entry, const QString &withdraw = {}) const;
    // Asks to confirm a withdrawal; `entry` when it is shown.
    QString withdrawal(const std::optional<Entry> &entry, const QString &token) const;
    QString withdrawn() const;
    QString registration(const FormState &form) const;
    QString problem(Problem problem) const;

private:
    QString layout(const QString &title, const QString &content) const;
    QString form(const FormState &form) const;
    QString ranking(const QList<Entry> &entries) const;

    const StaticFiles &files_;
    Template layout_;
    Template home_;
    Template results_;
    Template entry_;
    Template registration_;
    Template form_;
    Template problem_;
    Template withdraw_;
    Template withdrawn_;
    QString payTable_;
    QString emptyForm_;
};

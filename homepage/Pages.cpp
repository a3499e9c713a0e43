#include "homepage/Pages.h"

#include "homepage/Pager.h"
#include "homepage/Release.h"
#include "homepage/StaticFiles.h"
#include "homepage/Submission.h"
#include "rules/PayTable.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>
#include <QTranslator>
#include <QUrl>

using namespace Qt::StringLiterals;

struct Pages::Words {
    QStringView templates;   // the folder of the templates under :/pages/
    QStringView name;        // of the language, in itself: the other edition's link
    QStringView day;         // date formats, in Japan's time
    QStringView moment;
    QStringView more;        // %1 players
    QStringView pagerLabel;
    QStringView previous;
    QStringView next;
    QStringView resultsTitle;
    QStringView resultsPageTitle;   // %1: the page
    QStringView withdrawLink;       // %1: the address
    QStringView entryTitle;         // %1: the rank, %2: the name
    QStringView shownEntry;         // %1: the rank, %2: the name, %3: the days
    QStringView withdrawalTitle;
    QStringView withdrawnTitle;
    QStringView registrationTitle;
    QStringView empty;
    QStringView rankingHead;
    QStringView daysUnit;
    QStringView payLine;            // %1: the symbol's name, %2: the payout
};

namespace {

const Pages::Words japanese{
    u"",
    u"日本語",
    u"yyyy/MM/dd",
    u"yyyy年M月d日 H:mm",
    u"<p class=\"more\"><a href=\"/results\">番付をすべて見る（%1 人）</a></p>",
    u"番付のページ",
    u"前へ",
    u"次へ",
    u"番付",
    u"番付 %1 ページ目",
    u"<p class=\"withdraw-link\">この登録を取り下げたくなったときのための、あなただけのリンクです。"
    u"このページでしか表示しませんので、控えておいてください：<br><a href=\"%1\">%1</a></p>",
    u"%1 位 %2",
    u"<p class=\"name\">%1 位　%2（%3 日）</p>",
    u"登録の取り下げ",
    u"登録を取り下げました",
    u"成績の登録",
    u"<p class=\"empty\">まだ登録がありません。最初の一人になりませんか。</p>",
    u"<th class=\"rank\">順位</th><th class=\"name\">名前</th><th class=\"days\">日数</th><th class=\"date\">登録日</th>",
    u"<small>日</small>",
    u"<li><span class=\"reels\">%1%1%1</span><span>%2　<strong>%3 両</strong></span></li>\n",
};

const Pages::Words english{
    u"en/",
    u"English",
    u"d MMM yyyy",
    u"d MMMM yyyy, H:mm 'JST'",
    u"<p class=\"more\"><a href=\"/results\">See the whole hall of fame (%1 players)</a></p>",
    u"Pages of the hall of fame",
    u"Previous",
    u"Next",
    u"Hall of fame",
    u"Hall of fame, page %1",
    u"<p class=\"withdraw-link\">Should you ever want to withdraw this entry, this link is yours alone. "
    u"It is shown on this page only, so keep a copy of it:<br><a href=\"%1\">%1</a></p>",
    u"No. %1: %2",
    u"<p class=\"name\">No. %1 — %2 (%3 days)</p>",
    u"Withdraw an entry",
    u"Entry withdrawn",
    u"Register your result",
    u"<p class=\"empty\">No one has registered yet. Why not be the first?</p>",
    u"<th class=\"rank\">Rank</th><th class=\"name\">Name</th><th class=\"days\">Days</th><th class=\"date\">Registered</th>",
    u"",
    u"<li><span class=\"reels\">%1%1%1</span><span>%2 <strong>%3 ryo</strong></span></li>\n",
};

// The players are in Japan: dates are shown in Japan's time (which keeps no
// summer time), whatever the server's own zone.
const QTimeZone japan(9 * 3600);

QString dateOf(qint64 msecs, QStringView format)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, japan).toString(format);
}

QString number(qint64 n)
{
    return QString::number(n);
}

QString resultsUrl(qint64 page)
{
    return page == 1 ? u"/results"_s : u"/results?page="_s + number(page);
}

QString arg(QStringView format, const QString &a)
{
    return format.toString().arg(a);
}

// The game's name as its desktop entry gives it in that language.
QString gameTitle(Language language)
{
    return language == Language::English ? QStringLiteral(SUIRANJUKU_ENGLISH_TITLE) : QStringLiteral(SUIRANJUKU_TITLE);
}

// Where the reader is, in the language given, or left to their browser.
QString addressOf(const Reader &reader, std::optional<Language> language)
{
    QUrlQuery query = reader.query;
    if (language)
        query.addQueryItem(u"lang"_s, languageCode(*language));
    QUrl url;
    url.setPath(reader.path);
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

// A language chosen in the address stays chosen from link to link: every
// link and form to another of the site's pages carries it too.
QString keepLanguage(const QString &page, Language language)
{
    static const QRegularExpression link(uR"re(<(?:a|form)\s[^>]*?(?:href|action)="(/[^"]*)")re"_s);
    QString kept;
    qsizetype at = 0;
    for (const QRegularExpressionMatch &match : link.globalMatch(page)) {
        const QString url = match.captured(1);
        if (url.startsWith("/static/"_L1) || url.contains("lang="_L1))
            continue;
        const qsizetype fragment = url.indexOf(u'#');
        const QString base = url.left(fragment < 0 ? url.size() : fragment);
        kept += QStringView(page).sliced(at, match.capturedStart(1) - at);
        kept += base + (base.contains(u'?') ? u"&amp;lang="_s : u"?lang="_s) + languageCode(language)
            + (fragment < 0 ? QString() : url.sliced(fragment));
        at = match.capturedEnd(1);
    }
    return kept + page.sliced(at);
}

} // namespace

Pages::Edition::Edition(Language language)
    : language(language),
      words(language == Language::English ? english : japanese),
      layout(Template::compiled(words.templates.toString() + u"layout.html"_s)),
      home(Template::compiled(words.templates.toString() + u"home.html"_s)),
      results(Template::compiled(words.templates.toString() + u"results.html"_s)),
      entry(Template::compiled(words.templates.toString() + u"entry.html"_s)),
      registration(Template::compiled(words.templates.toString() + u"register.html"_s)),
      form(Template::compiled(words.templates.toString() + u"form.html"_s)),
      problem(Template::compiled(words.templates.toString() + u"problem.html"_s)),
      withdraw(Template::compiled(words.templates.toString() + u"withdraw.html"_s)),
      withdrawn(Template::compiled(words.templates.toString() + u"withdrawn.html"_s))
{
}

Pages::Pages(const StaticFiles &files)
    : files_(files), editions_{Edition(Language::Japanese), Edition(Language::English)}
{
    // The symbols' names are the rules' own, Japanese, translated with the
    // game's translation; where that is not compiled in, they stay Japanese.
    QTranslator rules;
    const bool translated = rules.load(rulesTranslation);
    // What the home page shows of the rules and the empty form never change
    // while the server runs: made once, not each time the page is drawn.
    for (Edition &edition : editions_) {
        for (const PayLine &line : payLines()) {
            const QString picture = files_.url(line.symbol.toString() + u".svg"_s);
            const QString image = u"<img src=\"%1\" alt=\"\" width=\"40\" height=\"40\">"_s.arg(escapeHtml(picture));
            QString name = QString::fromUtf8(line.name);
            if (translated && edition.language == Language::English) {
                if (const QString english = rules.translate("PayTable", line.name); !english.isEmpty())
                    name = english;
            }
            edition.payTable += edition.words.payLine.toString().arg(image, escapeHtml(name), number(line.payout.ryo));
        }
        edition.emptyForm = form(edition, {});
    }
}

const Pages::Edition &Pages::edition(const Reader &reader) const
{
    return editions_[reader.language == Language::English ? 1 : 0];
}

QString Pages::layout(const Reader &reader, const QString &title, const QString &content) const
{
    const Edition &edition = this->edition(reader);
    const Language other = reader.language == Language::English ? Language::Japanese : Language::English;
    const QString otherName = this->edition({other, false, {}, {}}).words.name.toString();
    // The same page in each language, and as the reader's browser asks.
    QString alternates;
    for (const Language language : {Language::Japanese, Language::English}) {
        alternates += u"<link rel=\"alternate\" hreflang=\"%1\" href=\"%2\">\n"_s.arg(
            languageCode(language), escapeHtml(addressOf(reader, language)));
    }
    alternates += u"<link rel=\"alternate\" hreflang=\"x-default\" href=\"%1\">"_s.arg(
        escapeHtml(addressOf(reader, std::nullopt)));
    const QString otherLanguage = u"<a class=\"language\" href=\"%1\" hreflang=\"%2\" lang=\"%2\">%3</a>"_s.arg(
        escapeHtml(addressOf(reader, other)), languageCode(other), otherName);
    const QString game = gameTitle(reader.language);
    const QString page = edition.layout.render({
        {u"title"_s, title.isEmpty() ? game : title + u" — "_s + game},
        {u"game"_s, game},
        {u"publisher"_s, QStringLiteral(SUIRANJUKU_PUBLISHER)},
        {u"version"_s, QStringLiteral(SUIRANJUKU_VERSION)},
        {u"style"_s, files_.url(u"style.css"_s)},
        {u"icon"_s, files_.url(u"icon.svg"_s)},
        {u"alternates"_s, alternates},
        {u"otherLanguage"_s, otherLanguage},
        {u"content"_s, content},
    });
    return reader.chosen ? keepLanguage(page, reader.language) : page;
}

QString Pages::home(const Reader &reader, const ResultStore::Page &leaders) const
{
    const Edition &edition = this->edition(reader);
    const QString more = leaders.total > leaders.entries.size() ? arg(edition.words.more, number(leaders.total)) : QString();
    const QString content = edition.home.render({
        {u"game"_s, gameTitle(reader.language)},
        {u"logo"_s, files_.url(u"logo.svg"_s)},
        {u"hougen"_s, files_.url(u"00-hougen.svg"_s)},
        {u"payTable"_s, edition.payTable},
        {u"form"_s, edition.emptyForm},
        {u"leaders"_s, ranking(edition, leaders.entries)},
        {u"more"_s, more},
    });
    return layout(reader, {}, content);
}

QString Pages::results(const Reader &reader, const ResultStore::Page &page, qint64 current) const
{
    const Edition &edition = this->edition(reader);
    const Words &words = edition.words;
    const qint64 last = std::max<qint64>(1, pageOfRank(page.total));
    QString pager;
    if (last > 1) {
        pager = arg(u"<nav class=\"pager\" aria-label=\"%1\">", words.pagerLabel.toString());
        if (current > 1)
            pager += u"<a href=\"%1\" rel=\"prev\">%2</a>"_s.arg(resultsUrl(current - 1), words.previous);
        for (qint64 n : pagerPages(current, last)) {
            if (n == 0)
                pager += u"<span class=\"gap\">…</span>"_s;
            else if (n == current)
                pager += u"<span class=\"current\" aria-current=\"page\">%1</span>"_s.arg(number(n));
            else
                pager += u"<a href=\"%1\">%2</a>"_s.arg(resultsUrl(n), number(n));
        }
        if (current < last)
            pager += u"<a href=\"%1\" rel=\"next\">%2</a>"_s.arg(resultsUrl(current + 1), words.next);
        pager += u"</nav>"_s;
    }
    const QString content = edition.results.render({
        {u"total"_s, number(page.total)},
        {u"page"_s, number(current)},
        {u"last"_s, number(last)},
        {u"ranking"_s, ranking(edition, page.entries)},
        {u"pager"_s, pager},
    });
    return layout(reader, current == 1 ? words.resultsTitle.toString() : arg(words.resultsPageTitle, number(current)),
                  content);
}

QString Pages::entry(const Reader &reader, const Entry &entry, const QString &withdraw) const
{
    const Edition &edition = this->edition(reader);
    const QString link = withdraw.isEmpty() ? QString() : arg(edition.words.withdrawLink, escapeHtml(withdraw));
    const qint64 page = pageOfRank(entry.rank);
    const QString content = edition.entry.render({
        {u"id"_s, number(entry.id)},
        {u"rank"_s, number(entry.rank)},
        {u"name"_s, entry.name},
        {u"days"_s, number(entry.days)},
        {u"registered"_s, dateOf(entry.registered, edition.words.moment)},
        {u"pageUrl"_s, resultsUrl(page)},
        {u"page"_s, number(page)},
        {u"withdraw"_s, link},
    });
    return layout(reader, edition.words.entryTitle.toString().arg(number(entry.rank), entry.name), content);
}

QString Pages::withdrawal(const Reader &reader, const std::optional<Entry> &entry, const QString &token) const
{
    const Edition &edition = this->edition(reader);
    const QString shown = entry ? edition.words.shownEntry.toString().arg(number(entry->rank), escapeHtml(entry->name),
                                                                          number(entry->days))
                                : QString();
    return layout(reader, edition.words.withdrawalTitle.toString(),
                  edition.withdraw.render({{u"entry"_s, shown}, {u"token"_s, token}}));
}

QString Pages::withdrawn(const Reader &reader) const
{
    const Edition &edition = this->edition(reader);
    return layout(reader, edition.words.withdrawnTitle.toString(), edition.withdrawn.render({}));
}

QString Pages::registration(const Reader &reader, const FormState &state) const
{
    const Edition &edition = this->edition(reader);
    return layout(reader, edition.words.registrationTitle.toString(),
                  edition.registration.render({{u"form"_s, form(edition, state)}}));
}

QString Pages::problem(const Reader &reader, Problem problem) const
{
    const Edition &edition = this->edition(reader);
    const ProblemText &text = describe(problem);
    const QString message = text.in(reader.language).toString();
    const QString content = edition.problem.render({
        {u"status"_s, number(text.status)},
        {u"message"_s, message},
    });
    return layout(reader, message, content);
}

QString Pages::form(const Edition &edition, const FormState &state)
{
    // A refusal stands next to its field, and the field says it is at fault.
    const auto note = [&](const std::optional<Problem> &problem, QStringView id) {
        if (!problem)
            return QString();
        return u"<p class=\"error\" id=\"%1\">%2</p>"_s.arg(id, escapeHtml(describe(*problem).in(edition.language)));
    };
    const auto invalid = [](const std::optional<Problem> &problem, QStringView id) {
        return problem ? u" aria-invalid=\"true\" aria-describedby=\"%1\""_s.arg(id) : QString();
    };
    return edition.form.render({
        {u"formError"_s, note(state.formProblem, u"form-error")},
        {u"name"_s, state.name},
        {u"nameError"_s, note(state.nameProblem, u"name-error")},
        {u"nameInvalid"_s, invalid(state.nameProblem, u"name-error")},
        {u"longestName"_s, number(submission::longestName)},
        {u"code"_s, state.code},
        {u"codeError"_s, note(state.codeProblem, u"code-error")},
        {u"codeInvalid"_s, invalid(state.codeProblem, u"code-error")},
    });
}

QString Pages::ranking(const Edition &edition, const QList<Entry> &entries)
{
    const Words &words = edition.words;
    if (entries.isEmpty())
        return words.empty.toString();
    QString rows;
    for (const Entry &entry : entries) {
        // The first three wear a star.
        const QString top = entry.rank <= 3 ? u" class=\"top\""_s : QString();
        rows += u"<tr id=\"entry-%1\"%6><td class=\"rank\">%2</td><td class=\"name\"><a href=\"/results/%1\">%3</a></td>"
                "<td class=\"days\">%4%7</td><td class=\"date\">%5</td></tr>\n"_s.arg(
                    number(entry.id), number(entry.rank), escapeHtml(entry.name), number(entry.days),
                    dateOf(entry.registered, words.day), top, words.daysUnit);
    }
    return u"<table class=\"ranking\">\n<thead><tr>"_s + words.rankingHead.toString() + u"</tr></thead>\n<tbody>\n"_s + rows
        + u"</tbody>\n</table>"_s;
}

#include "homepage/Pages.h"

#include "homepage/Pager.h"
#include "homepage/Release.h"
#include "homepage/StaticFiles.h"
#include "homepage/Submission.h"
#include "rules/PayTable.h"

#include <QDateTime>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

// The players are in Japan: dates are shown in Japan's time (which keeps no
// summer time), whatever the server's own zone.
const QTimeZone japan(9 * 3600);

QString dayOf(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, japan).toString(u"yyyy/MM/dd"_s);
}

QString momentOf(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, japan).toString(u"yyyy年M月d日 H:mm"_s);
}

QString number(qint64 n)
{
    return QString::number(n);
}

QString resultsUrl(qint64 page)
{
    return page == 1 ? u"/results"_s : u"/results?page="_s + number(page);
}

} // namespace

Pages::Pages(const StaticFiles &files)
    : files_(files),
      layout_(Template::compiled(u"layout.html"_s)),
      home_(Template::compiled(u"home.html"_s)),
      results_(Template::compiled(u"results.html"_s)),
      entry_(Template::compiled(u"entry.html"_s)),
      registration_(Template::compiled(u"register.html"_s)),
      form_(Template::compiled(u"form.html"_s)),
      problem_(Template::compiled(u"problem.html"_s)),
      withdraw_(Template::compiled(u"withdraw.html"_s)), withdrawn_(Template::compiled(u"withdrawn.html"_s))
{
    // What the home page shows of the rules and the empty form never change
    // while the server runs: made once, not each time the page is drawn.
    for (const PayLine &line : payLines()) {
        const QString picture = files_.url(line.symbol.toString() + u".svg"_s);
        const QString image = u"<img src=\"%1\" alt=\"\" width=\"40\" height=\"40\">"_s.arg(escapeHtml(picture));
        payTable_ += u"<li><span class=\"reels\">%1%1%1</span><span>%2　<strong>%3 両</strong></span></li>\n"_s.arg(
            image, escapeHtml(QString::fromUtf8(line.name)), number(line.payout.ryo));
    }
    emptyForm_ = form({});
}

QString Pages::layout(const QString &title, const QString &content) const
{
    const QString game = QStringLiteral(SUIRANJUKU_TITLE);
    return layout_.render({
        {u"title"_s, title.isEmpty() ? game : title + u" — "_s + game},
        {u"game"_s, game},
        {u"publisher"_s, QStringLiteral(SUIRANJUKU_PUBLISHER)},
        {u"version"_s, QStringLiteral(SUIRANJUKU_VERSION)},
        {u"style"_s, files_.url(u"style.css"_s)},
        {u"icon"_s, files_.url(u"icon.svg"_s)},
        {u"content"_s, content},
    });
}

QString Pages::home(const ResultStore::Page &leaders) const
{
    const QString more = leaders.total > leaders.entries.size()
        ? u"<p class=\"more\"><a href=\"/results\">番付をすべて見る（%1 人）</a></p>"_s.arg(number(leaders.total))
        : QString();
    const QString content = home_.render({
        {u"game"_s, QStringLiteral(SUIRANJUKU_TITLE)},
        {u"logo"_s, files_.url(u"logo.svg"_s)},
        {u"hougen"_s, files_.url(u"00-hougen.svg"_s)},
        {u"payTable"_s, payTable_},
        {u"form"_s, emptyForm_},
        {u"leaders"_s, ranking(leaders.entries)},
        {u"more"_s, more},
    });
    return layout({}, content);
}

QString Pages::results(const ResultStore::Page &page, qint64 current) const
{
    const qint64 last = std::max<qint64>(1, pageOfRank(page.total));
    QString pager;
    if (last > 1) {
        pager = u"<nav class=\"pager\" aria-label=\"番付のページ\">"_s;
        if (current > 1)
            pager += u"<a href=\"%1\" rel=\"prev\">前へ</a>"_s.arg(resultsUrl(current - 1));
        for (qint64 n : pagerPages(current, last)) {
            if (n == 0)
                pager += u"<span class=\"gap\">…</span>"_s;
            else if (n == current)
                pager += u"<span class=\"current\" aria-current=\"page\">%1</span>"_s.arg(number(n));
            else
                pager += u"<a href=\"%1\">%2</a>"_s.arg(resultsUrl(n), number(n));
        }
        if (current < last)
            pager += u"<a href=\"%1\" rel=\"next\">次へ</a>"_s.arg(resultsUrl(current + 1));
        pager += u"</nav>"_s;
    }
    const QString content = results_.render({
        {u"total"_s, number(page.total)},
        {u"page"_s, number(current)},
        {u"last"_s, number(last)},
        {u"ranking"_s, ranking(page.entries)},
        {u"pager"_s, pager},
    });
    return layout(current == 1 ? u"番付"_s : u"番付 %1 ページ目"_s.arg(current), content);
}

QString Pages::entry(const Entry &entry, const QString &withdraw) const
{
    const QString link = withdraw.isEmpty()
        ? QString()
        : u"<p class=\"withdraw-link\">この登録を取り下げたくなったときのための、あなただけのリンクです。"
           "このページでしか表示しませんので、控えておいてください：<br><a href=\"%1\">%1</a></p>"_s.arg(
               escapeHtml(withdraw));
    const qint64 page = pageOfRank(entry.rank);
    const QString content = entry_.render({
        {u"id"_s, number(entry.id)},
        {u"rank"_s, number(entry.rank)},
        {u"name"_s, entry.name},
        {u"days"_s, number(entry.days)},
        {u"registered"_s, momentOf(entry.registered)},
        {u"pageUrl"_s, resultsUrl(page)},
        {u"page"_s, number(page)},
        {u"withdraw"_s, link},
    });
    return layout(u"%1 位 %2"_s.arg(number(entry.rank), entry.name), content);
}

QString Pages::withdrawal(const std::optional<Entry> &entry, const QString &token) const
{
    const QString shown = entry ? u"<p class=\"name\">%1 位　%2（%3 日）</p>"_s.arg(
                                      number(entry->rank), escapeHtml(entry->name), number(entry->days))
                                : QString();
    return layout(u"登録の取り下げ"_s, withdraw_.render({{u"entry"_s, shown}, {u"token"_s, token}}));
}

QString Pages::withdrawn() const
{
    return layout(u"登録を取り下げました"_s, withdrawn_.render({}));
}

QString Pages::registration(const FormState &state) const
{
    return layout(u"成績の登録"_s, registration_.render({{u"form"_s, form(state)}}));
}

QString Pages::problem(Problem problem) const
{
    const ProblemText &text = describe(problem);
    const QString content = problem_.render({
        {u"status"_s, number(text.status)},
        {u"message"_s, text.message.toString()},
    });
    return layout(text.message.toString(), content);
}

QString Pages::form(const FormState &state) const
{
    // A refusal stands next to its field, and the field says it is at fault.
    const auto note = [](const std::optional<Problem> &problem, QStringView id) {
        if (!problem)
            return QString();
        return u"<p class=\"error\" id=\"%1\">%2</p>"_s.arg(id, escapeHtml(describe(*problem).message));
    };
    const auto invalid = [](const std::optional<Problem> &problem, QStringView id) {
        return problem ? u" aria-invalid=\"true\" aria-describedby=\"%1\""_s.arg(id) : QString();
    };
    return form_.render({
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

QString Pages::ranking(const QList<Entry> &entries) const
{
    if (entries.isEmpty())
        return u"<p class=\"empty\">まだ登録がありません。最初の一人になりませんか。</p>"_s;
    QString rows;
    for (const Entry &entry : entries) {
        // The first three wear a star.
        const QString top = entry.rank <= 3 ? u" class=\"top\""_s : QString();
        rows += u"<tr id=\"entry-%1\"%6><td class=\"rank\">%2</td><td class=\"name\"><a href=\"/results/%1\">%3</a></td>"
                "<td class=\"days\">%4<small>日</small></td><td class=\"date\">%5</td></tr>\n"_s.arg(
                    number(entry.id), number(entry.rank), escapeHtml(entry.name), number(entry.days),
                    dayOf(entry.registered), top);
    }
    return u"<table class=\"ranking\">\n<thead><tr><th class=\"rank\">順位</th><th class=\"name\">名前</th>"
           "<th class=\"days\">日数</th><th class=\"date\">登録日</th></tr></thead>\n<tbody>\n"_s
        + rows + u"</tbody>\n</table>"_s;
}

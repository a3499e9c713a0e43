#include "homepage/Problems.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array problems{
    ProblemText{Problem::BadJson, 400, "bad_json"_L1,
                u"送られてきたデータを JSON として読めませんでした。",
                u"The data sent could not be read as JSON."},
    ProblemText{Problem::BadCode, 400, "bad_code"_L1,
                u"成績コードが正しくありません。ゲームの最後に表示された８けたの数字を、そのまま入力してください。",
                u"That result code is not right. Type the 8-digit number shown at the end of the game, just as it appears."},
    ProblemText{Problem::ImpossibleScore, 400, "impossible_score"_L1,
                u"この成績コードの日数では、五千両を集めることはできません。もう一度お確かめください。",
                u"Nobody can gather 5,000 ryo in as few days as this result code says. Please check it again."},
    ProblemText{Problem::BadName, 400, "bad_name"_L1,
                u"名前は１文字から２０文字までで入力してください（改行などの制御文字は使えません）。",
                u"Names are 1 to 20 characters long (no line breaks or other control characters)."},
    ProblemText{Problem::BadPage, 400, "bad_parameter"_L1,
                u"ページの番号は１以上の数字で指定してください。",
                u"Page numbers are whole numbers from 1 up."},
    ProblemText{Problem::BadRange, 400, "bad_parameter"_L1,
                u"offset は０以上の整数、limit は１から１００までの整数で指定してください。",
                u"offset must be a whole number from 0 up, and limit a whole number from 1 to 100."},
    ProblemText{Problem::NotFound, 404, "not_found"_L1,
                u"お探しのページは見つかりませんでした。",
                u"The page you are looking for could not be found."},
    ProblemText{Problem::MethodNotAllowed, 405, "method_not_allowed"_L1,
                u"このページはその方法（メソッド）では使えません。",
                u"This page cannot be used with that method."},
    ProblemText{Problem::CrossSite, 403, "forbidden"_L1,
                u"ほかのサイトからの登録は受け付けていません。このサイトのフォームから登録してください。",
                u"Registrations from other sites are not accepted. Please register through the form on this site."},
    ProblemText{Problem::TooLarge, 413, "too_large"_L1,
                u"送られてきたデータが大きすぎます（４KiB まで）。",
                u"The data sent is too large (4 KiB at most)."},
    ProblemText{Problem::WrongType, 415, "unsupported_media_type"_L1,
                u"この形式のデータは受け付けていません（JSON は Content-Type: application/json で送ってください）。",
                u"Data of this type is not accepted (send JSON with Content-Type: application/json)."},
    ProblemText{Problem::TooMany, 429, "too_many_requests"_L1,
                u"登録が続きすぎています。１分ほど待ってから、もう一度お試しください。",
                u"Too many registrations in a row. Please wait a minute and try again."},
    ProblemText{Problem::Unavailable, 503, "unavailable"_L1,
                u"ただいま番付を読み書きできません。しばらくしてから、もう一度お試しください。",
                u"The hall of fame cannot be read or written just now. Please try again in a while."},
    ProblemText{Problem::RefusedName, 400, "bad_name"_L1,
                u"この名前では登録できません。別の名前でお試しください。",
                u"That name cannot be registered. Please try another one."},
    ProblemText{Problem::Withdrawn, 410, "gone"_L1,
                u"この登録は、すでに取り下げられています。",
                u"This entry has already been withdrawn."},
};

// Looked up by the problem's number.
static_assert([] {
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (problems[i].problem != static_cast<Problem>(i))
            return false;
    }
    return true;
}());

} // namespace

const ProblemText &describe(Problem problem)
{
    return problems[static_cast<std::size_t>(problem)];
}

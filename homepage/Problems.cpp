#include "homepage/Problems.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array problems{
    ProblemText{Problem::BadJson, 400, "bad_json"_L1,
                u"送られてきたデータを JSON として読めませんでした。"},
    ProblemText{Problem::BadCode, 400, "bad_code"_L1,
                u"成績コードが正しくありません。ゲームの最後に表示された８けたの数字を、そのまま入力してください。"},
    ProblemText{Problem::ImpossibleScore, 400, "impossible_score"_L1,
                u"この成績コードの日数では、五千両を集めることはできません。もう一度お確かめください。"},
    ProblemText{Problem::BadName, 400, "bad_name"_L1,
                u"名前は１文字から２０文字までで入力してください（改行などの制御文字は使えません）。"},
    ProblemText{Problem::BadPage, 400, "bad_parameter"_L1,
                u"ページの番号は１以上の数字で指定してください。"},
    ProblemText{Problem::BadRange, 400, "bad_parameter"_L1,
                u"offset は０以上の整数、limit は１から１００までの整数で指定してください。"},
    ProblemText{Problem::NotFound, 404, "not_found"_L1,
                u"お探しのページは見つかりませんでした。"},
    ProblemText{Problem::MethodNotAllowed, 405, "method_not_allowed"_L1,
                u"このページはその方法（メソッド）では使えません。"},
    ProblemText{Problem::CrossSite, 403, "forbidden"_L1,
                u"ほかのサイトからの登録は受け付けていません。このサイトのフォームから登録してください。"},
    ProblemText{Problem::TooLarge, 413, "too_large"_L1,
                u"送られてきたデータが大きすぎます（４KiB まで）。"},
    ProblemText{Problem::WrongType, 415, "unsupported_media_type"_L1,
                u"この形式のデータは受け付けていません（JSON は Content-Type: application/json で送ってください）。"},
    ProblemText{Problem::TooMany, 429, "too_many_requests"_L1,
                u"登録が続きすぎています。１分ほど待ってから、もう一度お試しください。"},
    ProblemText{Problem::Unavailable, 503, "unavailable"_L1,
                u"ただいま番付を読み書きできません。しばらくしてから、もう一度お試しください。"},
    ProblemText{Problem::RefusedName, 400, "bad_name"_L1,
                u"この名前では登録できません。別の名前でお試しください。"},
    ProblemText{Problem::Withdrawn, 410, "gone"_L1,
                u"この登録は、すでに取り下げられています。"},
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

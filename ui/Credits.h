#pragma once

#include <QString>

class QLabel;

// The texts of ours that several windows show: each is written here only.
namespace credits {

// The publisher, whose home page registers the winners' codes.
inline QString productFamily() { return QStringLiteral("｢風待ち通信｣"); }
inline QString rightsNotice() { return QStringLiteral("© 風待ち通信"); }
inline QString homePage() { return QStringLiteral("https://kazamachi.example/"); }

// The framed title that the splash and the version window share.
struct TitleFrame {
    QLabel *companyProduct;
    QLabel *platform;
    QLabel *productName;
    QLabel *version;
    QLabel *copyright;
    QLabel *http;
};
void fillTitleFrame(const TitleFrame &frame);

} // namespace credits

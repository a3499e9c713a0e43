#pragma once

#include "ui/Release.h"

#include <QString>

class QLabel;

// The texts of ours that several windows show: each is written here only.
namespace credits {

// The publisher, whose home page registers the winners' codes.
inline QString productFamily() { return QStringLiteral("｢" SUIRANJUKU_PUBLISHER "｣"); }
inline QString rightsNotice() { return QStringLiteral("© " SUIRANJUKU_PUBLISHER); }
inline QString homePage() { return QStringLiteral(SUIRANJUKU_HOME_PAGE); }

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

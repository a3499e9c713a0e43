#include "ui/Credits.h"

#include <QLabel>

namespace credits {

void fillTitleFrame(const TitleFrame &frame)
{
    frame.companyProduct->setText(productFamily());
    frame.copyright->setText(rightsNotice());
    frame.http->setText(homePage());
    // The title lines are as wide as their text, whatever face stands in.
    for (QLabel *label : {frame.companyProduct, frame.platform, frame.productName, frame.version})
        label->adjustSize();
}

} // namespace credits

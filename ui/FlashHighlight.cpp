#include "ui/FlashHighlight.h"

#include <QPainter>

namespace {
constexpr int thickness = 3;
}

FlashHighlight::FlashHighlight(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(parent->rect());
    raise();
}

void FlashHighlight::toggle()
{
    lit_ = !lit_;
    repaint();
}

void FlashHighlight::paintEvent(QPaintEvent *)
{
    if (!lit_)
        return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Active, QPalette::Highlight), thickness);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(thickness / 2, thickness / 2, -(thickness + 1) / 2, -(thickness + 1) / 2));
}

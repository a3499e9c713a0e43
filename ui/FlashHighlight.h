#pragma once

#include <QWidget>

// The window's own half of the title-bar flash: a highlight around the client
// area, inverted by each toggle and painted at once, so the player sees the
// blinks on any desktop.
class FlashHighlight final : public QWidget {
public:
    explicit FlashHighlight(QWidget *parent);

    void toggle();
    bool isLit() const { return lit_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool lit_ = false;
};

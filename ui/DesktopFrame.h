#pragma once

#include <QMargins>

#include <optional>

class QWindow;

// What the window manager of an X11 desktop is asked for and tells about a
// window's frame, before the window is mapped. Elsewhere these do nothing and
// tell nothing.
namespace desktopframe {

// A fixed border without a title bar (no title, system menu or buttons),
// where the window manager draws one, and an empty title everywhere the
// desktop reads one: the window system's name is otherwise filled with the
// program's.
void borderWithoutTitle(QWindow &window);

// The frame the window manager will draw around the window, as it tells
// before the window is shown; nothing when it does not tell.
std::optional<QMargins> frameExtents(QWindow &window);

} // namespace desktopframe

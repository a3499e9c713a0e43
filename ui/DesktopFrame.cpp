#include "ui/DesktopFrame.h"

#include <QGuiApplication>
#include <QThread>
#include <QWindow>

#ifdef SUIRAN_X11
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#endif

namespace desktopframe {

#ifdef SUIRAN_X11
namespace {

xcb_connection_t *connection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

template <class Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t rootOf(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// Whether the window manager says it answers this request (_NET_SUPPORTED).
bool supports(xcb_connection_t *c, xcb_atom_t feature)
{
    const xcb_atom_t supported = atom(c, "_NET_SUPPORTED");
    const Owned<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, rootOf(c), supported, XCB_ATOM_ATOM, 0, 4096), nullptr),
        &std::free);
    if (!reply || reply->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    return std::find(atoms, atoms + count, feature) != atoms + count;
}

} // namespace

void borderWithoutTitle(QWindow &window)
{
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return;
    const auto id = xcb_window_t(window.winId());
    // The Motif hints: flags, functions, decorations, input mode, status.
    constexpr std::uint32_t functionsGiven = 1, decorationsGiven = 2;
    constexpr std::uint32_t move = 1 << 2;
    constexpr std::uint32_t border = 1 << 1;
    const std::array<std::uint32_t, 5> motif{functionsGiven | decorationsGiven, move, border, 0, 0};
    const xcb_atom_t motifHints = atom(c, "_MOTIF_WM_HINTS");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, motifHints, motifHints, 32, motif.size(), motif.data());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), 8, 0, "");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
    xcb_flush(c);
}

std::optional<QMargins> frameExtents(QWindow &window)
{
    using namespace std::chrono_literals;
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return std::nullopt;
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    if (!supports(c, request))
        return std::nullopt;
    const auto id = xcb_window_t(window.winId());
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    // A property left from an earlier showing would answer before the window
    // manager does.
    xcb_delete_property(c, id, extents);

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(c, 0, rootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c);

    // The window manager answers at once; a manager that says it answers but
    // does not is waited for a moment only.
    const auto deadline = std::chrono::steady_clock::now() + 200ms;
    do {
        const Owned<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(c, xcb_get_property(c, 0, id, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr),
            &std::free);
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) == 4 * 4) {
            const auto *v = static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
            // Left, right, top, bottom.
            return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
        }
        QThread::usleep(500);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

#else

void borderWithoutTitle(QWindow &)
{
}

std::optional<QMargins> frameExtents(QWindow &)
{
    return std::nullopt;
}

#endif

} // namespace desktopframe

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

// The names this asks and tells by, looked up once, all in one round trip.
struct Atoms {
    xcb_atom_t motifHints;
    xcb_atom_t netWmName;
    xcb_atom_t utf8String;
    xcb_atom_t requestFrameExtents;
    xcb_atom_t frameExtents;
    bool extentsAnswered;   // the window manager says it answers the request
};

xcb_window_t rootOf(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

const Atoms &atoms(xcb_connection_t *c)
{
    static const Atoms known = [c] {
        constexpr std::array names{"_MOTIF_WM_HINTS", "_NET_WM_NAME", "UTF8_STRING", "_NET_REQUEST_FRAME_EXTENTS",
                                   "_NET_FRAME_EXTENTS", "_NET_SUPPORTED"};
        std::array<xcb_intern_atom_cookie_t, names.size()> asked{};
        for (std::size_t i = 0; i < names.size(); ++i)
            asked[i] = xcb_intern_atom(c, 0, std::uint16_t(std::strlen(names[i])), names[i]);
        std::array<xcb_atom_t, names.size()> atom{};
        for (std::size_t i = 0; i < names.size(); ++i) {
            const Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, asked[i], nullptr), &std::free);
            atom[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        }
        const Owned<xcb_get_property_reply_t> supported(
            xcb_get_property_reply(c, xcb_get_property(c, 0, rootOf(c), atom[5], XCB_ATOM_ATOM, 0, 4096), nullptr),
            &std::free);
        bool answered = false;
        if (supported && supported->format == 32) {
            const auto *list = static_cast<const xcb_atom_t *>(xcb_get_property_value(supported.get()));
            const int count = xcb_get_property_value_length(supported.get()) / int(sizeof(xcb_atom_t));
            answered = std::find(list, list + count, atom[3]) != list + count;
        }
        return Atoms{atom[0], atom[1], atom[2], atom[3], atom[4], answered};
    }();
    return known;
}

} // namespace

void borderWithoutTitle(QWindow &window)
{
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return;
    const auto id = xcb_window_t(window.winId());
    const Atoms &a = atoms(c);
    // The Motif hints: flags, functions, decorations, input mode, status.
    constexpr std::uint32_t functionsGiven = 1, decorationsGiven = 2;
    constexpr std::uint32_t move = 1 << 2;
    constexpr std::uint32_t border = 1 << 1;
    const std::array<std::uint32_t, 5> motif{functionsGiven | decorationsGiven, move, border, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, a.motifHints, a.motifHints, 32, motif.size(), motif.data());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, a.netWmName, a.utf8String, 8, 0, "");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
    xcb_flush(c);
}

std::optional<QMargins> frameExtents(QWindow &window)
{
    using namespace std::chrono_literals;
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return std::nullopt;
    const Atoms &a = atoms(c);
    if (!a.extentsAnswered)
        return std::nullopt;
    const auto id = xcb_window_t(window.winId());
    const xcb_atom_t extents = a.frameExtents;
    // A property left from an earlier showing would answer before the window
    // manager does.
    xcb_delete_property(c, id, extents);

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = a.requestFrameExtents;
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
        QThread::usleep(100);
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

#include "uisupport/tool_window.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace facetor {

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    if (reply == nullptr) {
        return XCB_ATOM_NONE;
    }
    const xcb_atom_t found = reply->atom;
    std::free(reply);
    return found;
}

// The Motif hints' layout and the bits we use.
struct MotifHints {
    std::uint32_t flags, functions, decorations;
    std::int32_t input_mode;
    std::uint32_t status;
};
constexpr std::uint32_t k_mwm_hints_functions = 1, k_mwm_hints_decorations = 2;
constexpr std::uint32_t k_mwm_func_resize = 2, k_mwm_func_move = 4, k_mwm_func_close = 32;
constexpr std::uint32_t k_mwm_decor_border = 2, k_mwm_decor_title = 8;

} // namespace

void offer_no_minimise(QWidget& window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return; // not on X: nothing to ask
    }
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());

    // Window managers that read the Motif hints drop the buttons of the
    // functions left out. Qt asks for every function when a window has no
    // title-bar button at all, which is the chooser's case.
    const bool close_box = window.windowFlags().testFlag(Qt::WindowCloseButtonHint);
    const MotifHints hints{k_mwm_hints_functions | k_mwm_hints_decorations,
                           // Some managers tie moving to resizing; the size
                           // hints keep the size fixed anyway.
                           k_mwm_func_resize | k_mwm_func_move | (close_box ? k_mwm_func_close : 0),
                           k_mwm_decor_border | k_mwm_decor_title, 0, 0};
    const xcb_atom_t motif = atom(connection, "_MOTIF_WM_HINTS");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, motif, motif, 32, 5, &hints);

    // Others, openbox among them, ignore those and go by the window's type:
    // a toolbar keeps its title bar but cannot be minimised or maximised.
    // The utility type after it serves a manager that knows no toolbars.
    const std::array<xcb_atom_t, 2> types{atom(connection, "_NET_WM_WINDOW_TYPE_TOOLBAR"),
                                          atom(connection, "_NET_WM_WINDOW_TYPE_UTILITY")};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id,
                        atom(connection, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(types.size()), types.data());
    xcb_flush(connection);
}

QMargins frame_margins(const QWidget& window)
{
    const auto margins_of = [](const QWidget& w) {
        const QRect frame = w.frameGeometry();
        const QRect inside = w.geometry();
        return QMargins(inside.left() - frame.left(), inside.top() - frame.top(),
                        frame.right() - inside.right(), frame.bottom() - inside.bottom());
    };
    QMargins found = margins_of(window);
    if (found.isNull() && window.parentWidget() != nullptr &&
        window.parentWidget()->window()->isVisible()) {
        found = margins_of(*window.parentWidget()->window());
    }
    // A maximised window may have no borders, and a window not yet framed
    // shows none.
    constexpr int k_border = 4;
    const int title = QFontMetrics(QGuiApplication::font()).height() + 8;
    return {std::max(found.left(), k_border), std::max(found.top(), title),
            std::max(found.right(), k_border), std::max(found.bottom(), k_border)};
}

namespace {

const QScreen* screen_of(const QWidget& window)
{
    return window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
}

} // namespace

QSize room_on_screen(const QWidget& window)
{
    const QScreen* screen = screen_of(window);
    if (screen == nullptr) {
        return window.size();
    }
    const QMargins frame = frame_margins(window);
    return screen->availableGeometry().size().shrunkBy(frame);
}

void fit_to_screen(QWidget& window)
{
    const QSize room = room_on_screen(window);
    if (window.width() > room.width() || window.height() > room.height()) {
        window.resize(window.size().boundedTo(room));
    }
}

void centre_on_screen(QWidget& window)
{
    const QScreen* screen = screen_of(window);
    if (screen == nullptr) {
        return;
    }
    // The window's own area centred, as the frame's size may not be known
    // yet; then moved as far as its frame needs to be on the screen whole.
    const QRect area = screen->availableGeometry();
    QRect inside(QPoint(), window.size());
    inside.moveCenter(area.center());
    const QMargins frame = frame_margins(window);
    const QRect outside = inside.marginsAdded(frame);
    inside.translate(
        std::max(0, area.left() - outside.left()) - std::max(0, outside.right() - area.right()),
        std::max(0, area.top() - outside.top()) - std::max(0, outside.bottom() - area.bottom()));
    window.setGeometry(inside);
}

} // namespace facetor

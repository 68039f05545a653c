#include "platform/WindowFront.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace pel {

void bringForward(QWidget* window)
{
    window->raise();
    window->activateWindow();
    // On X, Qt gives the input focus straight to a window whose tool window
    // (a transient of it) is active, with the time of the last event it saw;
    // the server drops that request when the window manager's last focus
    // change is younger, and the tool window keeps the keys. The window
    // manager's own activation request has no such race.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window->isVisible())
        return;
    xcb_connection_t* connection = x11->connection();
    static const char name[] = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(name), name), nullptr);
    if (!atom)
        return;
    const xcb_atom_t activeWindow = atom->atom;
    std::free(atom);
    if (activeWindow == XCB_ATOM_NONE)
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return;
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window->winId());
    event.type = activeWindow;
    event.data.data32[0] = 1;                  // asked by the application
    event.data.data32[1] = XCB_CURRENT_TIME;
    event.data.data32[2] = XCB_WINDOW_NONE;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

} // namespace pel

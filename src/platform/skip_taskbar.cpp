#include "platform/skip_taskbar.h"

#include <QWidget>

#if defined(QM_HAVE_XCB) && QT_CONFIG(xcb)
#define QM_SKIP_TASKBAR_X11 1
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#endif

namespace qm::platform {

#ifdef QM_SKIP_TASKBAR_X11
namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (reply == nullptr) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

// The EWMH request a client sends to change its own _NET_WM_STATE.
bool sendStateRequest(xcb_connection_t* connection, xcb_window_t window, bool add, const char* property) {
  const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
  const xcb_atom_t value = internAtom(connection, property);
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  if (state == XCB_ATOM_NONE || value == XCB_ATOM_NONE || screen == nullptr) return false;

  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = state;
  event.data.data32[0] = add ? 1 : 0;  // _NET_WM_STATE_ADD / _NET_WM_STATE_REMOVE
  event.data.data32[1] = value;
  event.data.data32[3] = 1;  // the request comes from an ordinary application
  xcb_send_event(connection, 0, screen->root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&event));
  xcb_flush(connection);
  return true;
}

}  // namespace

bool setSkipTaskbar(QWidget* window, bool skip) {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (x11 == nullptr || x11->connection() == nullptr || window == nullptr || !window->isVisible())
    return false;
  return sendStateRequest(x11->connection(), static_cast<xcb_window_t>(window->window()->winId()), skip,
                          "_NET_WM_STATE_SKIP_TASKBAR");
}

#else

bool setSkipTaskbar(QWidget*, bool) { return false; }

#endif

}  // namespace qm::platform

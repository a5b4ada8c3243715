// SPDX-License-Identifier: MIT
// Asks a window to close as a window manager does when the close of its
// title bar is clicked: the ICCCM's WM_DELETE_WINDOW message. For the tests
// under Xvfb, where no window manager runs.
//
//   quillmere_wmclose WINDOW-ID

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie
        = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

} // namespace

int main(int argc, char *argv[])
{
    char *end = nullptr;
    const unsigned long window = argc == 2 ? std::strtoul(argv[1], &end, 0) : 0;
    if (argc != 2 || *end != '\0' || window == 0) {
        std::fputs("usage: quillmere_wmclose WINDOW-ID\n", stderr);
        return 2;
    }
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("quillmere_wmclose: cannot reach the X server\n", stderr);
        return 1;
    }
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window);
    event.type = atom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = atom(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, xcb_window_t(window), XCB_EVENT_MASK_NO_EVENT,
        reinterpret_cast<const char *>(&event));
    const int status = xcb_flush(connection) > 0 && !xcb_connection_has_error(connection) ? 0 : 1;
    xcb_disconnect(connection);
    return status;
}

#include "tests/xvfb/x_grab.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <xcb/xcb.h>

namespace mvtest {
namespace {

struct Connection {
    xcb_connection_t* c = nullptr;
    Connection() {
        c = xcb_connect(nullptr, nullptr);
        if (c && xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            c = nullptr;
        }
    }
    ~Connection() {
        if (c) xcb_disconnect(c);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
};

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> reply(T* p) {
    return Reply<T>(p, &std::free);
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    auto r = reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QString property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop, xcb_atom_t type) {
    auto r = reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, prop, type, 0, 4096), nullptr));
    if (!r || r->type == XCB_ATOM_NONE) return {};
    const int len = xcb_get_property_value_length(r.get());
    return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(r.get())), len);
}

bool viewable(xcb_connection_t* c, xcb_window_t w) {
    auto a = reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

uint32_t search(xcb_connection_t* c, xcb_window_t w, const QString& title, xcb_atom_t netName,
                xcb_atom_t utf8, int depth) {
    if (depth > 8) return 0;
    auto tree = reply(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr));
    if (!tree) return 0;
    const xcb_window_t* kids = xcb_query_tree_children(tree.get());
    const int n = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < n; ++i) {
        const xcb_window_t k = kids[i];
        QString name = property(c, k, netName, utf8);
        if (name.isEmpty()) name = property(c, k, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
        if (name == title && viewable(c, k)) return k;
        if (uint32_t found = search(c, k, title, netName, utf8, depth + 1)) return found;
    }
    return 0;
}

xcb_keycode_t keycodeOf(xcb_connection_t* c, uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto map = reply(xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<uint8_t>(count)),
        nullptr));
    if (!map) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    for (int k = 0; k < count; ++k)
        for (int j = 0; j < map->keysyms_per_keycode; ++j)
            if (syms[k * map->keysyms_per_keycode + j] == keysym)
                return static_cast<xcb_keycode_t>(setup->min_keycode + k);
    return 0;
}

}  // namespace

bool PressXKey(uint32_t windowId, uint32_t keysym, uint16_t modifiers) {
    Connection conn;
    if (!conn.c || !windowId || !viewable(conn.c, windowId)) return false;
    const xcb_keycode_t code = keycodeOf(conn.c, keysym);
    if (code == 0) return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn.c)).data;
    xcb_set_input_focus(conn.c, XCB_INPUT_FOCUS_POINTER_ROOT, windowId, XCB_CURRENT_TIME);
    for (const uint8_t type : {uint8_t(XCB_KEY_PRESS), uint8_t(XCB_KEY_RELEASE)}) {
        xcb_key_press_event_t e{};
        e.response_type = type;
        e.detail = code;
        e.time = XCB_CURRENT_TIME;
        e.root = screen->root;
        e.event = windowId;
        e.child = XCB_WINDOW_NONE;
        e.state = modifiers;
        e.same_screen = 1;
        xcb_send_event(conn.c, 0, windowId,
                       type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS
                                             : XCB_EVENT_MASK_KEY_RELEASE,
                       reinterpret_cast<const char*>(&e));
    }
    auto sync = reply(xcb_get_input_focus_reply(conn.c, xcb_get_input_focus(conn.c), nullptr));
    return sync != nullptr;
}

QImage GrabXWindow(uint32_t windowId) {
    Connection conn;
    if (!conn.c || !windowId || !viewable(conn.c, windowId)) return {};
    auto geo = reply(xcb_get_geometry_reply(conn.c, xcb_get_geometry(conn.c, windowId), nullptr));
    if (!geo || geo->width == 0 || geo->height == 0) return {};
    auto img = reply(xcb_get_image_reply(
        conn.c,
        xcb_get_image(conn.c, XCB_IMAGE_FORMAT_Z_PIXMAP, windowId, 0, 0, geo->width,
                      geo->height, ~0u),
        nullptr));
    if (!img || img->depth < 24) return {};
    const int len = xcb_get_image_data_length(img.get());
    const int w = geo->width, h = geo->height;
    if (len < w * h * 4) return {};
    // 24-bit depth comes as 32 bits a pixel, blue first: the layout of QImage::Format_RGB32.
    QImage out(xcb_get_image_data(img.get()), w, h, w * 4, QImage::Format_RGB32);
    return out.copy();
}

uint32_t FindXWindowByTitle(const QString& title) {
    Connection conn;
    if (!conn.c) return 0;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn.c)).data;
    if (!screen) return 0;
    return search(conn.c, screen->root, title, atom(conn.c, "_NET_WM_NAME"),
                  atom(conn.c, "UTF8_STRING"), 0);
}

uint32_t WaitForXWindow(const QString& title, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (uint32_t w = FindXWindowByTitle(title)) return w;
        if (std::chrono::steady_clock::now() >= deadline) return 0;
        // The other side is a real X server and a thread blocked in real work: nothing to inject.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace mvtest

// lumivex_test_window: one plain X11 client window of a single colour, for the X server tests.
// It runs as its own process so that the window belongs to another client and another process than the
// test, as any application's window would. It prints the window id once the window is mapped and painted,
// then waits until it is terminated.
//
//   lumivex_test_window --geometry WxH+X+Y --color RRGGBB [--net-name TEXT] [--wm-name TEXT] [--class CLASS]
//                       [--opacity 0..1] [--type normal|dialog|dock|...] [--decorated] [--pid N] [--override-redirect]

#include <xcb/xcb.h>

#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Options {
    int x = 100, y = 100, width = 200, height = 150;
    uint32_t color = 0xff0000;
    const char* netName = nullptr;
    const char* wmName = nullptr;
    std::string className = "LumivexTest";
    double opacity = -1;
    std::string type = "normal";
    bool decorated = false;
    long pid = -1; // -1: our own pid
    bool overrideRedirect = false;
};

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto takes = [&]() { return value != nullptr && ++i; };
        if (arg == "--geometry" && takes()) {
            if (std::sscanf(value, "%dx%d+%d+%d", &o.width, &o.height, &o.x, &o.y) != 4)
                return false;
        } else if (arg == "--color" && takes()) {
            o.color = uint32_t(std::strtoul(value, nullptr, 16));
        } else if (arg == "--net-name" && takes()) {
            o.netName = value;
        } else if (arg == "--wm-name" && takes()) {
            o.wmName = value;
        } else if (arg == "--class" && takes()) {
            o.className = value;
        } else if (arg == "--opacity" && takes()) {
            o.opacity = std::atof(value);
        } else if (arg == "--type" && takes()) {
            o.type = value;
        } else if (arg == "--pid" && takes()) {
            o.pid = std::atol(value);
        } else if (arg == "--decorated") {
            o.decorated = true;
        } else if (arg == "--override-redirect") {
            o.overrideRedirect = true;
        } else {
            return false;
        }
    }
    return o.width > 0 && o.height > 0;
}

xcb_atom_t atom(xcb_connection_t* c, const std::string& name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.c_str()), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

void setProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type, uint8_t format,
                 uint32_t count, const void* data)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, type, format, count, data);
}

// WM_NAME of type STRING is Latin-1, while the command line arrives as UTF-8.
std::string latin1FromUtf8(const char* text)
{
    std::string result;
    for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p;) {
        if (*p < 0x80) {
            result += char(*p++);
        } else if ((*p & 0xe0) == 0xc0 && p[1]) {
            const unsigned code = ((p[0] & 0x1fu) << 6) | (p[1] & 0x3fu);
            result += code <= 0xff ? char(code) : '?';
            p += 2;
        } else {
            result += '?';
            for (++p; (*p & 0xc0) == 0x80; ++p) {
            }
        }
    }
    return result;
}

void describe(xcb_connection_t* c, xcb_window_t w, const Options& o)
{
    if (o.netName)
        setProperty(c, w, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), 8, uint32_t(std::strlen(o.netName)), o.netName);
    if (o.wmName) {
        const std::string name = latin1FromUtf8(o.wmName);
        setProperty(c, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, uint32_t(name.size()), name.data());
    }
    const std::string wmClass = "lumivex-test" + std::string(1, '\0') + o.className + '\0';
    setProperty(c, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, uint32_t(wmClass.size()), wmClass.data());
    const uint32_t pid = uint32_t(o.pid == -1 ? long(getpid()) : o.pid);
    setProperty(c, w, atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
    if (o.opacity >= 0) {
        const uint32_t opacity = uint32_t(std::lround(std::min(1.0, o.opacity) * 0xffffffffu));
        setProperty(c, w, atom(c, "_NET_WM_WINDOW_OPACITY"), XCB_ATOM_CARDINAL, 32, 1, &opacity);
    }
    std::string typeName = "_NET_WM_WINDOW_TYPE_";
    for (char ch : o.type)
        typeName += char(std::toupper(static_cast<unsigned char>(ch)));
    const xcb_atom_t type = atom(c, typeName);
    setProperty(c, w, atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &type);
    if (!o.decorated) {
        // flags = decorations, decorations = none: the window manager draws no frame or title bar.
        const uint32_t motif[5] = {2, 0, 0, 0, 0};
        const xcb_atom_t hints = atom(c, "_MOTIF_WM_HINTS");
        setProperty(c, w, hints, hints, 32, 5, motif);
    }
    // User-specified position and size, so the window manager puts the window where the test asked.
    uint32_t sizeHints[18] = {};
    sizeHints[0] = 1 | 2 | 4 | 8;
    sizeHints[1] = uint32_t(o.x), sizeHints[2] = uint32_t(o.y);
    sizeHints[3] = uint32_t(o.width), sizeHints[4] = uint32_t(o.height);
    setProperty(c, w, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18, sizeHints);
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "lumivex_test_window: bad arguments\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "lumivex_test_window: cannot connect to the X server\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t mask = XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK;
    const uint32_t values[] = {options.color, options.overrideRedirect ? 1u : 0u,
                               XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, int16_t(options.x), int16_t(options.y),
                      uint16_t(options.width), uint16_t(options.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, mask, values);
    describe(c, window, options);
    xcb_map_window(c, window);
    xcb_flush(c);

    bool mapped = false, exposed = false, announced = false;
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const uint8_t type = event->response_type & 0x7f;
        mapped |= type == XCB_MAP_NOTIFY;
        exposed |= type == XCB_EXPOSE;
        std::free(event);
        if (mapped && exposed && !announced) {
            // The server paints the background before it reports the exposure, so the colour is on screen.
            std::printf("%u\n", window);
            std::fflush(stdout);
            announced = true;
        }
    }
    xcb_disconnect(c);
    return 0;
}

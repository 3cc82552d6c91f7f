// Another X client that holds one key combination on the root window until it is stopped:
//   lumivex_test_grabber KEYCODE MODIFIER_MASK
// Prints "grabbed" or "refused" once the server has answered.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_grab_key_checked(connection, 0, root, uint16_t(std::atoi(argv[2])), xcb_keycode_t(std::atoi(argv[1])),
                                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::printf(error ? "refused\n" : "grabbed\n");
    std::fflush(stdout);
    std::free(error);
    pause();
    xcb_disconnect(connection);
    return 0;
}

#pragma once

#include <xcb/shm.h>

#include <cstddef>
#include <memory>

namespace lumivex {

class X11Connection;

// A System V shared memory segment that the X server has attached, so that a GetImage writes straight into
// our memory. The segment is marked for removal as soon as the server holds it, so it cannot outlive both
// processes even after a crash.
class X11SharedMemory {
public:
    // Nothing when the segment cannot be made or the server refuses it (e.g. a server in another IPC namespace).
    static std::shared_ptr<X11SharedMemory> create(std::shared_ptr<X11Connection> connection, size_t bytes);
    ~X11SharedMemory();
    X11SharedMemory(const X11SharedMemory&) = delete;
    X11SharedMemory& operator=(const X11SharedMemory&) = delete;

    unsigned char* data() const { return m_data; }
    size_t size() const { return m_size; }
    xcb_shm_seg_t segment() const { return m_segment; }

private:
    X11SharedMemory(std::shared_ptr<X11Connection> connection, unsigned char* data, size_t size, xcb_shm_seg_t segment)
        : m_connection(std::move(connection)), m_data(data), m_size(size), m_segment(segment) {}

    std::shared_ptr<X11Connection> m_connection;
    unsigned char* m_data;
    size_t m_size;
    xcb_shm_seg_t m_segment;
};

} // namespace lumivex

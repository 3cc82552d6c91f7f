#include "app/platform/X11SharedMemory.h"

#include "app/platform/X11Connection.h"

#include <sys/ipc.h>
#include <sys/shm.h>

namespace lumivex {

std::shared_ptr<X11SharedMemory> X11SharedMemory::create(std::shared_ptr<X11Connection> connection, size_t bytes)
{
    if (!connection || bytes == 0)
        return nullptr;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0)
        return nullptr;
    void* address = shmat(id, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return nullptr;
    }
    xcb_connection_t* c = connection->get();
    const xcb_shm_seg_t segment = xcb_generate_id(c);
    // Checked, so the answer arrives before the segment is marked for removal (the server must attach first).
    xcb_generic_error_t* error = xcb_request_check(c, xcb_shm_attach_checked(c, segment, uint32_t(id), 0));
    shmctl(id, IPC_RMID, nullptr);
    if (error) {
        std::free(error);
        shmdt(address);
        return nullptr;
    }
    return std::shared_ptr<X11SharedMemory>(
        new X11SharedMemory(std::move(connection), static_cast<unsigned char*>(address), bytes, segment));
}

X11SharedMemory::~X11SharedMemory()
{
    xcb_shm_detach(m_connection->get(), m_segment);
    xcb_flush(m_connection->get());
    shmdt(m_data);
}

} // namespace lumivex

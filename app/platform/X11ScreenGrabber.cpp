#include "app/platform/X11ScreenGrabber.h"

#include "app/platform/X11Connection.h"
#include "app/platform/X11SharedMemory.h"

#include <QCoreApplication>

#include <xcb/randr.h>
#include <xcb/shm.h>

#include <algorithm>
#include <sys/mman.h>

namespace lumivex {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("X11ScreenGrabber", text); }

bool extensionPresent(xcb_connection_t* c, xcb_extension_t* extension)
{
    const xcb_query_extension_reply_t* data = xcb_get_extension_data(c, extension);
    return data && data->present;
}

QRect rootRect(X11Connection& connection)
{
    auto geometry = xcbReply(xcb_get_geometry_reply(
        connection.get(), xcb_get_geometry(connection.get(), connection.root()), nullptr));
    if (!geometry)
        return {};
    return QRect(0, 0, geometry->width, geometry->height);
}

// We read pixels as 32-bit 0xXXRRGGBB words in the machine's byte order: true for every depth-24/32 server
// on a little-endian machine, which is where this runs. Anything else is refused rather than misread.
bool rootHasReadableFormat(X11Connection& connection)
{
    const xcb_setup_t* setup = xcb_get_setup(connection.get());
    const xcb_screen_t& screen = connection.screen();
    if (screen.root_depth != 24 && screen.root_depth != 32)
        return false;
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || QSysInfo::ByteOrder != QSysInfo::LittleEndian)
        return false;
    bool thirtyTwoBits = false;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats))
        if (formats.data->depth == screen.root_depth)
            thirtyTwoBits = formats.data->bits_per_pixel == 32 && formats.data->scanline_pad == 32;
    bool standardMasks = false;
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem; xcb_depth_next(&depths))
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals))
            if (visuals.data->visual_id == screen.root_visual)
                standardMasks = visuals.data->red_mask == 0xff0000 && visuals.data->green_mask == 0xff00
                    && visuals.data->blue_mask == 0xff;
    return thirtyTwoBits && standardMasks;
}

void releaseBuffer(void* owner) { delete static_cast<std::shared_ptr<void>*>(owner); }

} // namespace

X11ScreenGrabber::X11ScreenGrabber(std::shared_ptr<X11Connection> connection, bool allowSharedMemory)
    : m_connection(std::move(connection))
    , m_sharedMemoryUsable(allowSharedMemory && m_connection && extensionPresent(m_connection->get(), &xcb_shm_id))
{
}

X11ScreenGrabber::~X11ScreenGrabber() = default;

QList<X11ScreenGrabber::Monitor> X11ScreenGrabber::monitors() const
{
    QList<Monitor> result;
    if (!m_connection)
        return result;
    xcb_connection_t* c = m_connection->get();
    if (extensionPresent(c, &xcb_randr_id)) {
        auto version = xcbReply(xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr));
        if (version && (version->major_version > 1 || version->minor_version >= 5)) {
            auto reply = xcbReply(
                xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, m_connection->root(), 1), nullptr));
            for (auto it = reply ? xcb_randr_get_monitors_monitors_iterator(reply.get())
                                 : xcb_randr_monitor_info_iterator_t{};
                 reply && it.rem; xcb_randr_monitor_info_next(&it)) {
                auto name = xcbReply(xcb_get_atom_name_reply(c, xcb_get_atom_name(c, it.data->name), nullptr));
                result.append({name ? QString::fromUtf8(xcb_get_atom_name_name(name.get()),
                                                        xcb_get_atom_name_name_length(name.get()))
                                    : QString(),
                               QRect(it.data->x, it.data->y, it.data->width, it.data->height), it.data->primary != 0,
                               QSize(int(it.data->width_in_millimeters), int(it.data->height_in_millimeters))});
            }
        }
    }
    const bool anyPrimary = std::any_of(result.begin(), result.end(), [](const Monitor& m) { return m.primary; });
    int next = anyPrimary ? 1 : 0;
    for (Monitor& monitor : result)
        monitor.qtOrder = monitor.primary ? 0 : next++;
    result.removeIf([](const Monitor& m) { return m.rect.isEmpty(); });
    // The primary monitor first, the others left to right and top to bottom, whatever order RandR keeps.
    std::stable_sort(result.begin(), result.end(), [](const Monitor& a, const Monitor& b) {
        if (a.primary != b.primary)
            return a.primary;
        return std::pair(a.rect.x(), a.rect.y()) < std::pair(b.rect.x(), b.rect.y());
    });
    if (result.isEmpty())
        result.append({QString(), rootRect(*m_connection), true,
                       QSize(m_connection->screen().width_in_millimeters, m_connection->screen().height_in_millimeters)});
    return result;
}

std::shared_ptr<X11SharedMemory> X11ScreenGrabber::sharedMemoryFor(size_t bytes)
{
    // The spare segment is reused once every image cut from it is gone: a fresh segment costs a page fault
    // per 4 KiB while the server writes into it, which is as much again as the copy itself.
    if (m_spare && m_spare.use_count() == 1 && m_spare->size() >= bytes && m_spare->size() / 2 <= bytes)
        return m_spare;
    m_spare = X11SharedMemory::create(m_connection, bytes);
    return m_spare;
}

X11ScreenGrabber::Grab X11ScreenGrabber::grab(const QList<Monitor>& monitors)
{
    std::lock_guard lock(m_mutex);
    if (!m_connection || m_connection->isBroken())
        return tr("X 서버와의 연결이 끊어졌습니다.");
    if (!rootHasReadableFormat(*m_connection))
        return tr("이 X 서버의 화면 픽셀 형식은 지원하지 않습니다.");
    const QRect root = rootRect(*m_connection);
    if (root.isEmpty())
        return tr("X 서버의 화면 크기를 읽지 못했습니다.");
    // Only what the monitors show is fetched: one monitor of several costs only its own pixels.
    QRect area;
    for (const Monitor& monitor : monitors)
        area |= monitor.rect.intersected(root);
    if (area.isEmpty())
        return QList<MonitorImage>();
    xcb_connection_t* c = m_connection->get();
    const auto x = int16_t(area.x());
    const auto y = int16_t(area.y());
    const auto width = uint16_t(area.width());
    const auto height = uint16_t(area.height());
    const size_t stride = size_t(area.width()) * 4;
    const size_t bytes = stride * size_t(area.height());

    std::shared_ptr<void> owner;
    unsigned char* data = nullptr;
    m_usedSharedMemory = false;
    if (m_sharedMemoryUsable) {
        if (std::shared_ptr<X11SharedMemory> memory = sharedMemoryFor(bytes)) {
            auto reply = xcbReply(xcb_shm_get_image_reply(
                c, xcb_shm_get_image(c, m_connection->root(), x, y, width, height, ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                     memory->segment(), 0),
                nullptr));
            if (reply && reply->size >= bytes) {
                owner = memory;
                data = memory->data();
                m_usedSharedMemory = true;
                // Maps the pages the server has just written in one go rather than one fault at a time; an older
                // kernel refuses and they fault in as they are read.
                ::madvise(data, bytes, MADV_POPULATE_READ);
            }
        }
        // A server that refuses shared memory once will refuse it again; the plain path serves from now on.
        m_sharedMemoryUsable = m_usedSharedMemory;
    }
    if (!data) {
        xcb_get_image_reply_t* reply = xcb_get_image_reply(
            c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_connection->root(), x, y, width, height, ~0u), nullptr);
        if (!reply)
            return tr("X 서버가 화면 이미지를 보내지 않았습니다.");
        if (size_t(xcb_get_image_data_length(reply)) < bytes) {
            std::free(reply);
            return tr("X 서버가 보낸 화면 이미지가 잘렸습니다.");
        }
        data = xcb_get_image_data(reply);
        owner = std::shared_ptr<void>(reply, &std::free);
    }

    QList<MonitorImage> result;
    for (qsizetype index = 0; index < monitors.size(); ++index) {
        const Monitor& monitor = monitors.at(index);
        const QRect part = monitor.rect.intersected(root);
        if (part.isEmpty())
            continue;
        unsigned char* first = data + size_t(part.y() - area.y()) * stride + size_t(part.x() - area.x()) * 4;
        QImage image(first, part.width(), part.height(), qsizetype(stride), QImage::Format_RGB32, &releaseBuffer,
                     new std::shared_ptr<void>(owner));
        Monitor clipped = monitor;
        clipped.rect = part;
        result.append({index, clipped, std::move(image)});
    }
    return result;
}

bool X11ScreenGrabber::usedSharedMemory() const
{
    std::lock_guard lock(m_mutex);
    return m_usedSharedMemory;
}

} // namespace lumivex

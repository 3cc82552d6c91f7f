#include "core/render/LargeAllocation.h"

#include <limits>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace lumivex::LargeAllocation {

namespace {

constexpr std::size_t hugePage = std::size_t(2) << 20;
// Below this a huge page would be mostly wasted; such blocks come from the ordinary heap.
constexpr std::size_t hugeThreshold = 2 * hugePage;

void releaseImageMemory(void* memory) { std::free(memory); }

} // namespace

std::unique_ptr<std::byte[], Free> allocate(std::size_t bytes)
{
    if (bytes == 0)
        return nullptr;
    if (bytes < hugeThreshold)
        return std::unique_ptr<std::byte[], Free>(static_cast<std::byte*>(std::malloc(bytes)));
    if (bytes > std::numeric_limits<std::size_t>::max() - hugePage)
        return nullptr;
    const std::size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
    void* memory = std::aligned_alloc(hugePage, rounded);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Only advice: without transparent huge pages the memory behaves as any other.
    if (memory)
        madvise(memory, rounded, MADV_HUGEPAGE);
#endif
    return std::unique_ptr<std::byte[], Free>(static_cast<std::byte*>(memory));
}

QImage image(QSize size, QImage::Format format)
{
    if (size.isEmpty())
        return {};
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (depth != 32)
        return QImage(size, format);
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const std::size_t bytes = std::size_t(bytesPerLine) * std::size_t(size.height());
    if (bytes < hugeThreshold)
        return QImage(size, format);
    std::unique_ptr<std::byte[], Free> memory = allocate(bytes);
    if (!memory)
        return {};
    QImage result(reinterpret_cast<uchar*>(memory.get()), size.width(), size.height(), bytesPerLine, format,
                  releaseImageMemory, memory.get());
    if (result.isNull())
        return {};
    memory.release(); // the image frees it now
    return result;
}

} // namespace lumivex::LargeAllocation

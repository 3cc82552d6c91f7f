#pragma once

#include <QImage>
#include <QSize>

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace lumivex {

// Memory for big bitmaps and filter buffers. Fresh memory costs a page fault per 4 KiB page on first touch,
// which for a 5K canvas (15,000 pages) takes longer than drawing the picture; large blocks are therefore
// aligned to 2 MiB and offered to the kernel for huge pages, so that first touch takes a few dozen faults.
namespace LargeAllocation {

struct Free {
    void operator()(void* memory) const { std::free(memory); }
};

// Uninitialised memory of at least `bytes`, or null when there is not enough.
std::unique_ptr<std::byte[], Free> allocate(std::size_t bytes);

// A new, uninitialised image; null when the size is empty or there is not enough memory.
QImage image(QSize size, QImage::Format format);

} // namespace LargeAllocation

} // namespace lumivex

#include "picture/LargePages.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <cstdint>

namespace picture {

namespace {

// Below this the few pages it spans are not worth a system call.
constexpr qsizetype kWorthAsking = qsizetype(2) * 1024 * 1024;

} // namespace

void PreferLargePages(void* data, qsizetype bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (!data || bytes < kWorthAsking)
        return;
    constexpr std::uintptr_t kPage = 4096;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + static_cast<std::uintptr_t>(bytes)) & ~(kPage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE); // only advice: a refusal changes nothing
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

QImage LargeImage(QSize size, QImage::Format format)
{
    QImage image(size, format);
    if (!image.isNull())
        PreferLargePages(image.bits(), image.sizeInBytes());
    return image;
}

} // namespace picture

#pragma once
// Memory for a large picture in 2 MiB pages where the system offers them on
// request (Linux's transparent huge pages in "madvise" mode). A 2000 x 2000
// picture's pixels otherwise arrive through some four thousand page faults
// of 4 KiB each, which on a virtual machine cost as much as decoding it.
#include <QImage>
#include <QtGlobal>

namespace picture {

// Asks for large pages for the whole pages inside [data, data + bytes),
// before anything is written there; nothing happens where they are not offered.
void PreferLargePages(void* data, qsizetype bytes);

// A new image of size and format whose pixels will sit in large pages
// (their contents undefined until written); null when it cannot be had.
QImage LargeImage(QSize size, QImage::Format format);

} // namespace picture

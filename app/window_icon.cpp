#include "app/window_icon.h"

#include <QImage>
#include <QPixmap>

QIcon WindowIcon()
{
    QIcon icon;
    for (std::size_t i = 0; i < kWindowIconImageCount; ++i) {
        const WindowIconImage &source = kWindowIconImages[i];
        // The image only borrows the pixels; the pixmap takes a copy.
        const QImage image(reinterpret_cast<const uchar *>(source.pixels), source.width, source.height,
                           QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

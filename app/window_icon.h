#pragma once

#include <QIcon>

#include <cstddef>
#include <cstdint>

// One ready-drawn size of the program's icon: premultiplied ARGB pixels,
// row by row, generated at build time from the icon's PNG files.
struct WindowIconImage {
    int width;
    int height;
    const std::uint32_t *pixels;
};

extern const WindowIconImage kWindowIconImages[];
extern const std::size_t kWindowIconImageCount;

// The icon every window shows, built from those pixels: no image is decoded.
QIcon WindowIcon();

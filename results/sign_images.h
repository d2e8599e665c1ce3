#pragma once

#include <QPixmap>
#include <QString>

#include <string_view>

// The twelve sign pictures are kept in the alphabetical order of their
// lower-case names, so Aquarius is image 1 and Virgo image 12.
int SignImageIndex(std::string_view signName); // 0 for an unknown name

inline constexpr int SignPictureWidth = 180;
inline constexpr int SignPictureHeight = 167;

// Image 1..12 of the list, drawn sharp for the given device pixel ratio.
QPixmap SignPicture(int imageIndex, qreal devicePixelRatio = 1.0);

// The picture shown before a sign is known.
QPixmap DesignTimePicture(qreal devicePixelRatio = 1.0);

// Any built-in picture by resource path, at a logical size; kept once drawn.
QPixmap RenderPicture(const QString &resource, QSize logicalSize, qreal devicePixelRatio);

// The same, always drawn afresh.
QPixmap DrawPicture(const QString &resource, QSize logicalSize, qreal devicePixelRatio);

#include "results/sign_images.h"

#include "astro/signs.h"

#include <QHash>
#include <QImage>
#include <QImageReader>

#include <algorithm>

int SignImageIndex(std::string_view signName)
{
    // The images are kept in the alphabetical order of their names: a sign's
    // place is one more than the number of names that sort before its own.
    const int sign = SignIndexOfName(signName);
    if (sign < 0)
        return 0;
    const std::string_view picture = Signs[static_cast<std::size_t>(sign)].Picture;
    return 1 + static_cast<int>(std::count_if(Signs.begin(), Signs.end(),
                                              [picture](const Sign &s) { return s.Picture < picture; }));
}

QPixmap RenderPicture(const QString &resource, QSize logicalSize, qreal devicePixelRatio)
{
    // Every reading shows the same few pictures; draw each size only once.
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1|%2x%3|%4").arg(resource).arg(logicalSize.width()).arg(logicalSize.height()).arg(devicePixelRatio);
    if (const auto found = cache.constFind(key); found != cache.constEnd())
        return *found;
    QPixmap picture = DrawPicture(resource, logicalSize, devicePixelRatio);
    if (!picture.isNull() && cache.size() < 64)
        cache.insert(key, picture);
    return picture;
}

QPixmap DrawPicture(const QString &resource, QSize logicalSize, qreal devicePixelRatio)
{
    // Qt's SVG image reader draws the picture at the asked size, antialiased
    // on a transparent ground. Being a plug-in, it is loaded with the first
    // picture rather than at start-up.
    QImageReader reader(resource, "svg");
    reader.setScaledSize(logicalSize * devicePixelRatio);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(image);
}

QPixmap SignPicture(int imageIndex, qreal devicePixelRatio)
{
    if (imageIndex < 1 || imageIndex > 12)
        return {};
    const auto sign = std::find_if(Signs.begin(), Signs.end(),
                                   [imageIndex](const Sign &s) { return SignImageIndex(s.Name) == imageIndex; });
    const std::string_view key = sign->Picture;
    return RenderPicture(QStringLiteral(":/pictures/") + QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()))
                             + QStringLiteral(".svg"),
                         QSize(SignPictureWidth, SignPictureHeight), devicePixelRatio);
}

QPixmap DesignTimePicture(qreal devicePixelRatio)
{
    return RenderPicture(QStringLiteral(":/pictures/unknown.svg"), QSize(SignPictureWidth, SignPictureHeight),
                         devicePixelRatio);
}

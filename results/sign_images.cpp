#include "results/sign_images.h"

#include <QHash>
#include <QImage>
#include <QImageReader>

#include <array>

namespace {

constexpr std::array<std::string_view, 12> kImageKeys{
    "aquarius", "aries", "cancer", "capricorn", "gemini", "leo",
    "libra", "pisces", "sagittarius", "scorpio", "taurus", "virgo"};

constexpr std::array<std::string_view, 12> kSignOrder{
    "Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

} // namespace

int SignImageIndex(std::string_view signName)
{
    // The first exact match among the twelve names, in sign order.
    for (std::string_view sign : kSignOrder) {
        if (sign != signName)
            continue;
        std::string key(sign);
        key[0] = static_cast<char>(key[0] - 'A' + 'a');
        for (std::size_t i = 0; i < kImageKeys.size(); ++i) {
            if (kImageKeys[i] == key)
                return static_cast<int>(i) + 1;
        }
    }
    return 0;
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
    const std::string_view key = kImageKeys[static_cast<std::size_t>(imageIndex - 1)];
    return RenderPicture(QStringLiteral(":/pictures/") + QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()))
                             + QStringLiteral(".svg"),
                         QSize(SignPictureWidth, SignPictureHeight), devicePixelRatio);
}

QPixmap DesignTimePicture(qreal devicePixelRatio)
{
    return RenderPicture(QStringLiteral(":/pictures/unknown.svg"), QSize(SignPictureWidth, SignPictureHeight),
                         devicePixelRatio);
}

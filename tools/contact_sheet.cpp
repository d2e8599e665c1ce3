// Draws every built-in picture through the program's own renderer into one
// PNG, at 1x and 2x, to look the set over: contact_sheet OUTPUT.png
#include "app/resources.h"
#include "astro/signs.h"
#include "results/sign_images.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: contact_sheet OUTPUT.png");
        return 2;
    }
    InitResources();
    const int cellWidth = SignPictureWidth + 20;
    const int cellHeight = SignPictureHeight + 30;
    QImage sheet(cellWidth * 6, cellHeight * 3 + 2 * SignPictureHeight + 40, QImage::Format_ARGB32);
    sheet.fill(QColor(255, 218, 185));
    QPainter painter(&sheet);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    for (std::size_t i = 0; i < Signs.size(); ++i) {
        const int index = SignImageIndex(Signs[i].Name);
        const QPoint at(10 + int(i % 6) * cellWidth, 10 + int(i / 6) * cellHeight);
        painter.drawPixmap(at, SignPicture(index, 1.0));
        painter.drawText(at + QPoint(0, SignPictureHeight + 16),
                         QStringLiteral("%1 (image %2)").arg(QString::fromUtf8(Signs[i].Name.data(), qsizetype(Signs[i].Name.size()))).arg(index));
    }
    const QPoint row(10, 10 + 2 * cellHeight);
    painter.drawPixmap(row, DesignTimePicture(1.0));
    painter.drawPixmap(row + QPoint(cellWidth, 0), RenderPicture(QStringLiteral(":/pictures/decor_moon.svg"), QSize(96, 96), 1.0));
    painter.drawPixmap(row + QPoint(cellWidth + 110, 0), RenderPicture(QStringLiteral(":/pictures/decor_hearts.svg"), QSize(96, 96), 1.0));
    painter.drawPixmap(row + QPoint(cellWidth * 2 + 40, 0), RenderPicture(QStringLiteral(":/icon/app.svg"), QSize(128, 128), 1.0));
    painter.drawPixmap(row + QPoint(cellWidth * 3, 0), RenderPicture(QStringLiteral(":/icon/app.svg"), QSize(32, 32), 1.0));
    painter.drawPixmap(row + QPoint(cellWidth * 3 + 40, 0), RenderPicture(QStringLiteral(":/icon/app.svg"), QSize(16, 16), 1.0));
    // One sign at twice the density, as on a high-DPI screen.
    QPixmap sharp = SignPicture(SignImageIndex("Leo"), 2.0);
    sharp.setDevicePixelRatio(1.0);
    painter.drawPixmap(QPoint(10, 10 + 3 * cellHeight - 10), sharp);
    painter.end();
    return sheet.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}

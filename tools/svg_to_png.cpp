// Build-time helper for systems without Qt's SVG image reader: draws each
// picture as a PNG, four times its own size, so it stays sharp when shown
// larger or on a high-density screen.
//   svg_to_png OUTPUT_FOLDER PICTURE.svg...
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: svg_to_png OUTPUT_FOLDER PICTURE.svg...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        QSvgRenderer svg(path);
        if (!svg.isValid()) {
            std::fprintf(stderr, "svg_to_png: cannot read %s\n", argv[i]);
            return 1;
        }
        QImage image(svg.defaultSize() * 4, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString target = out.filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".png"));
        if (!image.save(target, "PNG")) {
            std::fprintf(stderr, "svg_to_png: cannot write %s\n", qPrintable(target));
            return 1;
        }
    }
    return 0;
}

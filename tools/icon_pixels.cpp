// Build-time helper: decodes the icon's ready-drawn PNG sizes into a C++
// source of premultiplied ARGB pixels, so the program sets its window icon
// without decoding anything at start-up.
//
//   icon_pixels OUTPUT.cpp INPUT.png...
//
// The source defines `const WindowIconImage kWindowIconImages[]` and
// `const std::size_t kWindowIconImageCount` as declared in
// app/window_icon.h.
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: icon_pixels OUTPUT.cpp INPUT.png...\n");
        return 2;
    }
    std::FILE *out = std::fopen(argv[1], "w");
    if (!out) {
        std::fprintf(stderr, "icon_pixels: cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf(out, "#include \"app/window_icon.h\"\n\nnamespace {\n");
    QList<QSize> sizes;
    for (int i = 2; i < argc; ++i) {
        const QImage image = QImage(QString::fromLocal8Bit(argv[i])).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) {
            std::fprintf(stderr, "icon_pixels: cannot read %s\n", argv[i]);
            std::fclose(out);
            return 1;
        }
        std::fprintf(out, "const std::uint32_t kPixels%d[] = {", i - 2);
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x, ++n)
                std::fprintf(out, "%s0x%08x,", n % 8 == 0 ? "\n    " : "", static_cast<unsigned>(line[x]));
        }
        std::fprintf(out, "\n};\n");
        sizes.append(image.size());
    }
    std::fprintf(out, "} // namespace\n\nconst WindowIconImage kWindowIconImages[] = {\n");
    for (qsizetype i = 0; i < sizes.size(); ++i)
        std::fprintf(out, "    {%d, %d, kPixels%lld},\n", sizes[i].width(), sizes[i].height(), static_cast<long long>(i));
    std::fprintf(out, "};\nconst std::size_t kWindowIconImageCount = %lld;\n", static_cast<long long>(sizes.size()));
    return std::fclose(out) == 0 ? 0 : 1;
}

// The floor for start-up: a Qt Widgets program that shows one empty window.
//
//   minimal_window            the floor itself
//   minimal_window --label    the same window holding one line of text, for
//                             what text alone (fonts, shaping, drawing glyphs)
//                             adds to any window

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>

int main(int argc, char *argv[])
{
    const bool withLabel = argc > 1 && std::strcmp(argv[1], "--label") == 0;
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    if (withLabel) {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QStringLiteral("Your Birth Details"), &window));
        // The size an empty top-level window gets on its own.
        window.resize(640, 480);
    }
    window.show();
    return app.exec();
}

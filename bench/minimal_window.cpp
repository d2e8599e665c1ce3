// The floor for start-up: a Qt Widgets program that shows one empty window.

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.show();
    return app.exec();
}

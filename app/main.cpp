#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel placeholder(QStringLiteral("The birth-details window is not built yet."));
    placeholder.setWindowTitle(QStringLiteral("RU Zuva Zize Vadiveziduzor v1.75"));
    placeholder.show();
    return app.exec();
}

// The yardstick for start-up: the least a Qt Widgets program shows.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel("Tidewell"));
    window.show();
    return QApplication::exec();
}

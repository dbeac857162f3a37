#include "Form1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tidewell");
    QApplication::setApplicationVersion(PROJECT_VERSION);
    QApplication::setWindowIcon(QIcon(":/icons/meganium.xpm"));

    auto* window = new Form1;
    window->show();
    return QApplication::exec();
}

#include "Form1.h"
#include "FormFont.h"
#include "MessageBoxes.h"
#include "QtFileDialogs.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tidewell");
    QApplication::setApplicationVersion(PROJECT_VERSION);
    QApplication::setDesktopFileName("org.tidewell.Tidewell");
    QApplication::setWindowIcon(QIcon(":/icons/meganium.xpm"));
    // The menus would otherwise take the desktop's generic face, which is
    // Liberation Mono where only the Liberation fonts are installed.
    QApplication::setFont(ApplicationFont());

    QtFileDialogs fileDialogs;
    QtMessageBoxes messageBoxes;
    auto* window = new Form1(fileDialogs, messageBoxes);
    window->show();
    return QApplication::exec();
}

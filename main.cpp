#include "Form1.h"
#include "FormFont.h"
#include "MessageBoxes.h"
#include "QtFileDialogs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Tidewell");
    QApplication::setApplicationName("Tidewell");
    QApplication::setApplicationVersion(PROJECT_VERSION);
    QApplication::setDesktopFileName("org.tidewell.Tidewell");
    QApplication::setWindowIcon(QIcon(":/icons/meganium.xpm"));
    // The menus would otherwise take the desktop's generic face, which is
    // Liberation Mono where only the Liberation fonts are installed.
    QApplication::setFont(ApplicationFont());

    QCommandLineParser arguments;
    arguments.setApplicationDescription("Changes the starter Pokémon of Pokémon Gold, Silver and Crystal ROMs.");
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument("rom", "The ROM to open at start-up.", "[ROM]");
    arguments.process(app);

    QtFileDialogs fileDialogs;
    QtMessageBoxes messageBoxes;
    auto* window = new Form1(fileDialogs, messageBoxes);
    window->show();
    if (!arguments.positionalArguments().isEmpty())
        window->openRomFile(arguments.positionalArguments().constFirst());
    return QApplication::exec();
}

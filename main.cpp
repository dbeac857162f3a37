#include "Artwork.h"
#include "Form1.h"
#include "FormFont.h"
#include "MessageBoxes.h"
#include "QtFileDialogs.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

// Answers --help and --version before anything opens the display, which a
// terminal without one does not have. Only they need an application before it.
void AnswerWithoutDisplay(int argc, char* argv[], QCommandLineParser& arguments, const QCommandLineOption& help,
                          const QCommandLineOption& version)
{
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    arguments.parse(words);
    if (!arguments.isSet(help) && !arguments.isSet(version))
        return;
    const QCoreApplication beforeDisplay(argc, argv);
    if (arguments.isSet(help))
        arguments.showHelp();
    arguments.showVersion();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication::setOrganizationName("Tidewell");
    QApplication::setApplicationName("Tidewell");
    QApplication::setApplicationVersion(PROJECT_VERSION);

    QCommandLineParser arguments;
    arguments.setApplicationDescription("Changes the starter Pokémon of Pokémon Gold, Silver and Crystal ROMs.");
    const QCommandLineOption help = arguments.addHelpOption();
    const QCommandLineOption version = arguments.addVersionOption();
    arguments.addPositionalArgument("rom", "The ROM to open at start-up.", "[ROM]");
    AnswerWithoutDisplay(argc, argv, arguments, help, version);

    QApplication app(argc, argv);
    QApplication::setDesktopFileName("org.tidewell.Tidewell");
    QApplication::setWindowIcon(ProgramIcon());
    // The menus would otherwise take the desktop's generic face, which is
    // Liberation Mono where only the Liberation fonts are installed.
    QApplication::setFont(ApplicationFont());
    arguments.process(app);

    QtFileDialogs fileDialogs;
    QtMessageBoxes messageBoxes;
    auto* window = new Form1(fileDialogs, messageBoxes);
    window->show();
    if (!arguments.positionalArguments().isEmpty())
        window->openRomFile(arguments.positionalArguments().constFirst());
    return QApplication::exec();
}

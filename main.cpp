#include "Artwork.h"
#include "Form1.h"
#include "FormFont.h"
#include "MessageBoxes.h"
#include "Platform.h"
#include "QtFileDialogs.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

// The platform Qt will load: one given as -platform, or by the environment.
QString ChosenPlatform(const QStringList& arguments)
{
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i)
        if (arguments[i] == "-platform" || arguments[i] == "--platform")
            return arguments[i + 1];
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

// Qt aborts when the desktop platforms find no display to connect to, with a
// message that sends the user the wrong way; offscreen and the like need none.
bool DisplayMissing(const QString& platform)
{
#ifdef Q_OS_LINUX
    const bool desktop = platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
    return desktop && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    Q_UNUSED(platform);
    return false;
#endif
}

// Answers --help and --version before anything opens the display, which a
// terminal without one does not have; only they need an application before
// it. False, said why, when there is no display for the window.
bool AnswerWithoutDisplay(int argc, char* argv[], QCommandLineParser& arguments, const QCommandLineOption& help,
                          const QCommandLineOption& version)
{
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    arguments.parse(words);
    if (arguments.isSet(help) || arguments.isSet(version)) {
        const QCoreApplication beforeDisplay(argc, argv);
        if (arguments.isSet(help))
            arguments.showHelp();
        arguments.showVersion();
    }
    if (!DisplayMissing(ChosenPlatform(words)))
        return true;
    std::fputs("Tidewell needs a graphical display. To change a ROM without one, use tidewell-cli "
               "(see tidewell-cli --help).\n",
               stderr);
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    platform::HoldTerminationSignals();
    QApplication::setOrganizationName("Tidewell");
    QApplication::setApplicationName("Tidewell");
    QApplication::setApplicationVersion(PROJECT_VERSION);

    QCommandLineParser arguments;
    arguments.setApplicationDescription("Changes the starter Pokémon of Pokémon Gold, Silver and Crystal ROMs.");
    const QCommandLineOption help = arguments.addHelpOption();
    const QCommandLineOption version = arguments.addVersionOption();
    arguments.addPositionalArgument("rom", "The ROM to open at start-up.", "[ROM]");
    if (!AnswerWithoutDisplay(argc, argv, arguments, help, version))
        return 1;

    QApplication app(argc, argv);
    QuitOnTerminationSignals(app);
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

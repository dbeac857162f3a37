// SaveUntilSignalled ROM: saves the ROM over and over, Pikachu in Poké Ball 1
// and back in turn (the rival's teams as they are), from an event loop with
// idle threads beside it, as the window runs, until a termination signal ends
// it the way it ends the window.
#include "Platform.h"
#include "RomDocument.h"
#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

int main(int argc, char* argv[])
{
    platform::HoldTerminationSignals();
    QCoreApplication app(argc, argv);
    QuitOnTerminationSignals(app);
    std::vector<std::unique_ptr<QThread>> idle(4);
    for (auto& thread : idle) {
        thread = std::make_unique<QThread>(); // runs an event loop of its own
        thread->start();
    }
    auto rom = RomDocument::Open(argv[1]);
    std::array turns{rom->Values(), rom->Values()};
    turns[1][StarterValue::poke1] = 25;
    std::size_t turn = 0;
    QTimer saving;
    QObject::connect(&saving, &QTimer::timeout, [&] { rom->Save(turns[++turn % 2], {.rivalTeams = false}); });
    saving.start(0);
    const int status = QCoreApplication::exec();
    for (auto& thread : idle) {
        thread->quit();
        thread->wait();
    }
    return status;
}

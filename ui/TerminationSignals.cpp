#include "TerminationSignals.h"

#include "Platform.h"

#include <QCoreApplication>
#include <QSocketNotifier>

void QuitOnTerminationSignals(QCoreApplication& app)
{
    auto* arrived = new QSocketNotifier(platform::TerminationSignalsHandle(), QSocketNotifier::Read, &app);
    QObject::connect(arrived, &QSocketNotifier::activated, &app, [] {
        if (const auto signal = platform::TakeTerminationSignal())
            QCoreApplication::exit(128 + *signal);
    });
}

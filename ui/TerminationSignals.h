#pragma once

class QCoreApplication;

// A termination signal (logout, kill, Ctrl-C in the terminal) ends the
// application the way a desktop expects: taken in the event loop, so that a
// save under way finishes first; every open box then closes unanswered, and
// the event loop ends with 128 + the signal's number. Unsaved edits are
// never written. The signals must be held since the start of main().
void QuitOnTerminationSignals(QCoreApplication& app);

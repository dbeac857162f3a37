#pragma once

#include "MessageBoxes.h"
#include "Outcomes.h"

#include <QString>

#include <string>
#include <vector>

// How the window puts each outcome of the ROM document to the user: a
// refusal or warning under the exclamation mark, a failure under its number.
class OutcomeBoxes {
public:
    OutcomeBoxes(MessageBoxes& boxes, QWidget& owner) : boxes_(boxes), owner_(owner) {}

    void Show(const Outcome& outcome);
    void Inform(const QString& text);
    void Warn(const QString& text);
    BoxAnswer AskToSaveChanges(const QString& fileName);
    // Whether to go on in spite of each warning.
    bool SaveAnyway(const std::vector<std::string>& warnings);

private:
    MessageBoxes& boxes_;
    QWidget& owner_;
};

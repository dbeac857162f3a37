#pragma once

#include "MessageBoxes.h"
#include "RomDocument.h"

#include <QString>

// How the window puts each outcome of the ROM document to the user: a
// refusal as a warning, the platform's failures under their number.
class OutcomeBoxes {
public:
    OutcomeBoxes(MessageBoxes& boxes, QWidget& owner) : boxes_(boxes), owner_(owner) {}

    void Inform(const QString& text);
    void Warn(const QString& text);
    void Refused(const OpenRefusal& refusal);
    void Failed(const SaveFailure& failure);
    BoxAnswer AskToSaveChanges(const QString& fileName);
    // Whether to go on in spite of each warning.
    bool SaveAnyway(const std::vector<std::string>& warnings);

private:
    void Error(const std::error_code& error, const QString& text);

    MessageBoxes& boxes_;
    QWidget& owner_;
};

#include "OutcomeBoxes.h"

#include "Outcomes.h"
#include "RomErrors.h"

#include <algorithm>
#include <string_view>

namespace {

const QString programTitle = QStringLiteral("Tidewell");

} // namespace

void OutcomeBoxes::Inform(const QString& text)
{
    boxes_.Show(&owner_, text, programTitle, BoxIcon::information);
}

void OutcomeBoxes::Warn(const QString& text)
{
    boxes_.Show(&owner_, text, programTitle, BoxIcon::exclamation);
}

void OutcomeBoxes::Refused(const OpenRefusal& refusal)
{
    if (refusal.error == RomErrc::unsupportedGame || refusal.error == RomErrc::notRecognised)
        Warn(QString::fromUtf8(RefusalText(refusal)));
    else
        Error(refusal.error, QString::fromUtf8(RefusalText(refusal)));
}

void OutcomeBoxes::Failed(const SaveFailure& failure)
{
    if (failure.left == RomLeft::untouched && failure.error == RomErrc::romChanged)
        Warn(QString::fromUtf8(ChangedSinceOpenWarning));
    else if (failure.error == RomErrc::patchOverRom)
        Warn(QString::fromUtf8(failure.error.message()));
    else if (failure.error == RomErrc::nothingToExport)
        Inform(QString::fromUtf8(failure.error.message()));
    else
        Error(failure.error, QString::fromUtf8(FailureText(failure)));
}

BoxAnswer OutcomeBoxes::AskToSaveChanges(const QString& fileName)
{
    return boxes_.AskToSave(&owner_, "Save the changes to the starters of " + fileName + "?", programTitle);
}

bool OutcomeBoxes::SaveAnyway(const std::vector<std::string>& warnings)
{
    return std::ranges::all_of(warnings, [this](const std::string& warning) {
        return boxes_.AskToSaveAnyway(&owner_, QString::fromUtf8(warning) + " Save anyway?", programTitle) == BoxAnswer::save;
    });
}

// The platform's description of a failure, under its number.
void OutcomeBoxes::Error(const std::error_code& error, const QString& text)
{
    boxes_.Show(&owner_, text, "Error: " + QString::number(error.value()), BoxIcon::none);
}

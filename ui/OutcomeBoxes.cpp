#include "OutcomeBoxes.h"

#include <algorithm>

namespace {

const QString programTitle = QStringLiteral("Tidewell");

} // namespace

void OutcomeBoxes::Show(const Outcome& outcome)
{
    const QString text = QString::fromStdString(outcome.text);
    switch (outcome.kind) {
    case OutcomeKind::done:
    case OutcomeKind::note:
        Inform(text);
        break;
    case OutcomeKind::warning:
    case OutcomeKind::refusal:
        Warn(text);
        break;
    case OutcomeKind::failure:
        boxes_.Show(&owner_, text, "Error: " + QString::number(outcome.error.value()), BoxIcon::none);
        break;
    }
}

void OutcomeBoxes::Inform(const QString& text)
{
    boxes_.Show(&owner_, text, programTitle, BoxIcon::information);
}

void OutcomeBoxes::Warn(const QString& text)
{
    boxes_.Show(&owner_, text, programTitle, BoxIcon::exclamation);
}

BoxAnswer OutcomeBoxes::AskToSaveChanges(const QString& fileName)
{
    return boxes_.AskToSave(&owner_, QString::fromStdString(SaveChangesQuestion(fileName.toStdString())), programTitle);
}

bool OutcomeBoxes::SaveAnyway(const std::vector<std::string>& warnings)
{
    return std::ranges::all_of(warnings, [this](const std::string& warning) {
        return boxes_.AskToSaveAnyway(&owner_, QString::fromUtf8(warning) + ' ' + QString::fromUtf8(SaveAnywayText), programTitle) == BoxAnswer::save;
    });
}

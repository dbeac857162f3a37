#include "Outcomes.h"
#include "RomErrors.h"

#include <gtest/gtest.h>

namespace {

std::error_code Platform(std::errc error)
{
    return std::make_error_code(error);
}

TEST(Outcomes, EachFailureSaysWhatWentWrongAndWhatBecameOfTheRom)
{
    const std::string changed = "The ROM file has changed since it was opened. Open it again before saving.";
    const std::string leftAlone = "\nThe ROM was left as it was.";
    struct Row {
        SaveFailure failure;
        OutcomeKind kind;
        std::string text;
    };
    const Row rows[] = {
        {{make_error_code(RomErrc::romChanged), RomLeft::untouched}, OutcomeKind::refusal, changed},
        {{make_error_code(RomErrc::romChanged), RomLeft::notWritten}, OutcomeKind::refusal, changed},
        {{make_error_code(RomErrc::romChanged), RomLeft::restored}, OutcomeKind::failure,
         "The ROM file has changed since it was opened." + leftAlone},
        {{Platform(std::errc::file_too_large), RomLeft::untouched}, OutcomeKind::failure, "File too large" + leftAlone},
        {{Platform(std::errc::file_too_large), RomLeft::restored}, OutcomeKind::failure, "File too large" + leftAlone},
        {{Platform(std::errc::io_error), RomLeft::partlyChanged}, OutcomeKind::failure,
         "Input/output error\nThe ROM may be partly changed. Open it again to see what it holds."},
        {{Platform(std::errc::no_space_on_device), RomLeft::notWritten}, OutcomeKind::failure,
         "No space left on device"},
        {{make_error_code(RomErrc::nothingToExport)}, OutcomeKind::note,
         "The starters are the same as in the ROM: there is nothing to export."},
        {{make_error_code(RomErrc::patchOverRom)}, OutcomeKind::refusal,
         "A patch cannot be written over the ROM it is made from."},
        {{make_error_code(RomErrc::outsideOwnedRegions), RomLeft::untouched}, OutcomeKind::refusal,
         "Save would change bytes outside the places Tidewell writes, so nothing was written."},
        {{Platform(std::errc::io_error), RomLeft::unconfirmed}, OutcomeKind::failure,
         "Input/output error\nThe ROM holds the new starters, but the system could not confirm that they reached the disk."},
        {{make_error_code(RomErrc::romChanged), RomLeft::untouched, "/roms/.tw00000001"}, OutcomeKind::refusal,
         changed + "\nTidewell did not remove /roms/.tw00000001: it may now hold one of your files."},
        {{make_error_code(RomErrc::interruptedSaveNotUndone), RomLeft::partlyChanged}, OutcomeKind::failure,
         "Tidewell was stopped while saving this ROM, and it could not be put back as it was before that save."
         "\nThe ROM may be partly changed. Open it again to see what it holds."},
    };
    for (const Row& row : rows) {
        const Outcome outcome = FailureOutcome(row.failure);
        EXPECT_EQ(outcome.kind, row.kind) << row.text;
        EXPECT_EQ(outcome.text, row.text);
        EXPECT_EQ(outcome.left, row.failure.left) << row.text;
        EXPECT_EQ(outcome.error, row.failure.error) << row.text;
    }
}

TEST(Outcomes, AnUnfinishedSaveIsPutBackOrItsRecordKept)
{
    const Outcome putBack = InterruptedSaveOutcome(InterruptedSave::putBack);
    EXPECT_EQ(putBack.kind, OutcomeKind::note);
    EXPECT_EQ(putBack.text,
              "Tidewell was stopped while saving this ROM; it has been put back as it was before that save.");
    const Outcome kept = InterruptedSaveOutcome(InterruptedSave::recordKept, "/state/1-2.journal.unmatched");
    EXPECT_EQ(kept.kind, OutcomeKind::warning);
    EXPECT_EQ(kept.text, "A record of an unfinished save names this ROM but does not match it, so it was not used. "
                         "It is kept as /state/1-2.journal.unmatched.");
}

TEST(Outcomes, RefusedFilesNameTheirReason)
{
    EXPECT_EQ(RefusalOutcome({make_error_code(RomErrc::unsupportedGame)}).text, "Unsupported ROM.");
    const Outcome unknown = RefusalOutcome({make_error_code(RomErrc::notRecognised), IdentifyGame("AAXE")});
    EXPECT_EQ(unknown.kind, OutcomeKind::refusal);
    EXPECT_EQ(unknown.text,
              "This ROM does not keep its starters where Pok\xC3\xA9mon Silver does, so Tidewell cannot change them safely.");
    const Outcome missing = RefusalOutcome({Platform(std::errc::no_such_file_or_directory)});
    EXPECT_EQ(missing.kind, OutcomeKind::failure);
    EXPECT_EQ(missing.error.value(), ENOENT);
}

} // namespace

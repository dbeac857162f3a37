#pragma once

#include "Outcomes.h"
#include "RomEdits.h"
#include "RomFile.h"

#include <expected>
#include <filesystem>
#include <system_error>

// The old bytes of a write in place, kept in the user's state folder, under a
// name made from the file's identity, from before the first byte is written
// until the write is synced: a write cut short at any moment is undone the
// next time the ROM is opened or saved.
class Journal {
public:
    // Written and synced, with its folder, or an error and nothing begun.
    static std::expected<Journal, std::error_code> Begin(RomFile& file, const RomEdits& edits);
    // The write is synced, or fully put back: the journal goes.
    std::error_code End();

private:
    explicit Journal(std::filesystem::path path) : path_(std::move(path)) {}

    std::filesystem::path path_;
};

// What an unfinished write in place left for `file`: its old bytes put back
// and synced, and the journal gone; or a journal that does not match the file,
// moved aside (to `keptAs`) and never used.
struct InterruptedSaveFound {
    InterruptedSave found = InterruptedSave::none;
    std::filesystem::path keptAs;
};
std::expected<InterruptedSaveFound, std::error_code> PutBackInterruptedSave(RomFile& file);

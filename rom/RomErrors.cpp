#include "RomErrors.h"

#include <string>

namespace {

class RomErrorCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "rom"; }

    std::string message(int value) const override
    {
        switch (static_cast<RomErrc>(value)) {
        case RomErrc::readPastEnd: return "Read past the end of the file.";
        case RomErrc::writePastEnd: return "Write past the end of the file.";
        case RomErrc::badHexPair: return "Not a hexadecimal byte.";
        case RomErrc::offsetOutOfRange: return "File offset outside the 32-bit range.";
        case RomErrc::romChanged: return "The ROM file has changed since it was opened.";
        case RomErrc::notRegularFile: return "Not a regular file.";
        case RomErrc::unsupportedGame: return "Unsupported ROM.";
        case RomErrc::notRecognised: return "The ROM does not keep its starters where its game does.";
        case RomErrc::nothingToExport:
            return "The starters are the same as in the ROM: there is nothing to export.";
        case RomErrc::patchOverRom: return "A patch cannot be written over the ROM it is made from.";
        case RomErrc::pictureOverRom: return "A picture cannot be written over the ROM it is taken from.";
        case RomErrc::outsideOwnedRegions:
            return "Save would change bytes outside the places Tidewell writes, so nothing was written.";
        case RomErrc::interruptedSaveNotUndone:
            return "Tidewell was stopped while saving this ROM, and it could not be put back as it was before that save.";
        case RomErrc::temporaryTaken:
            return "Another file took the place of the one Tidewell was writing, so it was not put in place.";
        case RomErrc::beyondIpsRange: return "A change lies beyond the 16 MiB that an IPS patch can reach.";
        }
        return "Unknown ROM error.";
    }
};

} // namespace

const std::error_category& RomCategory() noexcept
{
    static const RomErrorCategory category;
    return category;
}

std::error_code make_error_code(RomErrc e) noexcept
{
    return {static_cast<int>(e), RomCategory()};
}

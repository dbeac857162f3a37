#include "PictureCommand.h"

#include "Failures.h"
#include "FrontPicture.h"
#include "Outcomes.h"
#include "PngFile.h"
#include "RomDocument.h"
#include "RomErrors.h"
#include "ValueText.h"

#include <iostream>

namespace {

std::vector<std::uint8_t> RgbOf(const FrontPicture& picture, const Palette& palette)
{
    std::vector<std::uint8_t> rgb;
    rgb.reserve(picture.indices.size() * 3);
    for (std::uint8_t index : picture.indices)
        rgb.insert(rgb.end(), {palette[index].red, palette[index].green, palette[index].blue});
    return rgb;
}

} // namespace

int RunPicture(const PictureRequest& request)
{
    const auto species = ValueFromText(ValueKind::species, request.species);
    if (!species)
        return Report(UsageFailure(request.species, species.error()));
    const auto opened = RomDocument::Open(request.rom);
    if (!opened)
        return Report(OpenFailure(request.rom, opened.error()));
    NoteInterruptedSave(request.rom, *opened);
    const GameLayout& layout = *opened->GameOf().layout;
    const auto picture = FrontPictureOf(opened->Image(), layout, *species);
    const auto palettes = PalettesOf(opened->Image(), layout, *species);
    if (!picture || !palettes)
        return Report(UsageFailure(request.species, "this ROM holds no front picture of "
                                                        + NamedByte(ValueKind::species, *species)));
    const auto png = EncodePng(picture->width, picture->height,
                               RgbOf(*picture, request.shiny ? palettes->shiny : palettes->normal));
    if (!png)
        return Report({ExitStatus::inputOutput, request.output.string(), png.error()});
    const auto written = opened->WriteDerivedFile(*png, request.output, make_error_code(RomErrc::pictureOverRom));
    if (!written)
        return Report(WriteFailure(request.rom, request.output, written.error()));
    if (!request.quiet)
        std::cout << PictureWrittenText(*NameOf(ValueKind::species, *species), request.output.string()) << '\n';
    return Printed();
}

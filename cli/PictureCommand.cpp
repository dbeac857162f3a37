#include "PictureCommand.h"

#include "Failures.h"
#include "FrontPicture.h"
#include "PngFile.h"
#include "RomFile.h"
#include "RomSession.h"
#include "ValueText.h"

namespace {

constexpr auto pictureFilePermissions = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
                                        | std::filesystem::perms::group_read | std::filesystem::perms::others_read;

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
    const auto opened = OpenRom(request.rom);
    if (!opened)
        return Report(OpenFailure(request.rom, opened.error()));
    auto file = RomFile::Open(request.rom, RomFile::Access::read);
    const auto image = file ? file->ReadAll() : std::unexpected(file.error());
    if (!image)
        return Report(ExportFailure(request.rom, request.rom, image.error()));

    const GameLayout& layout = *opened->game->layout;
    const auto picture = FrontPictureOf(*image, layout, *species);
    const auto palettes = PalettesOf(*image, layout, *species);
    if (!picture || !palettes)
        return Report(UsageFailure(request.species, "this ROM holds no front picture of "
                                                        + NamedByte(ValueKind::species, *species)));
    const auto png = EncodePng(picture->width, picture->height,
                               RgbOf(*picture, request.shiny ? palettes->shiny : palettes->normal));
    if (!png)
        return Report({ExitStatus::inputOutput, request.output.string(), png.error()});
    if (const auto written = WriteFileAtomically(request.output, *png, pictureFilePermissions); !written)
        return Report(ExportFailure(request.rom, request.output, written.error()));
    return static_cast<int>(ExitStatus::success);
}

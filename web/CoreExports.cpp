// The core's entry points for the web page. The page copies bytes into memory
// it takes with tw_alloc (an image: tw_image_buffer), calls one function, and
// reads what the function made from tw_result_data and tw_result_size: bytes
// (an image, a patch, a picture) or UTF-8 text, several lines joined by '\n'.
// The opened ROM stays here, so that 2 MiB do not cross over at every edit.
// Calls about a planned Save make nothing when none is planned.
#include "Catalogues.h"
#include "FrontPicture.h"
#include "Outcomes.h"
#include "PatchFiles.h"
#include "RomContents.h"
#include "RomErrors.h"
#include "SavePlan.h"
#include "StarterSettings.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#define TW_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace {

struct OpenedRom {
    RomBytes image;
    const Game* game = nullptr;
    StarterSettings values;
};

// What Save planned last, kept until it is written or planned again.
struct PlannedSave {
    SavePlan plan;
    StarterSettings values;
};

// The image being opened, copied in by the page, and the one that is open.
RomBytes incoming;
OpenedRom opened;
std::optional<PlannedSave> planned;
// What the last call made: its own bytes, or a view of a planned image.
std::vector<std::uint8_t> made;
std::span<const std::uint8_t> result;

void SetResult(std::vector<std::uint8_t> bytes)
{
    made = std::move(bytes);
    result = made;
}

void SetResult(std::string_view text)
{
    SetResult(std::vector<std::uint8_t>(text.begin(), text.end()));
}

template <typename Texts>
void SetLines(const Texts& lines)
{
    std::string joined;
    for (bool first = true; std::string_view line : lines) {
        joined.append(first ? "" : "\n").append(line);
        first = false;
    }
    SetResult(joined);
}

StarterSettings SettingsAt(const std::uint8_t* bytes)
{
    StarterSettings values;
    std::copy_n(bytes, StarterValueCount, values.bytes.begin());
    return values;
}

void SetSettings(const StarterSettings& values)
{
    SetResult(std::vector<std::uint8_t>(values.bytes.begin(), values.bytes.end()));
}

// Colour 0 is the background: transparent, as the window's banner shows it.
void SetRgba(const FrontPicture& picture, const Palette& palette)
{
    std::vector<std::uint8_t> rgba(picture.indices.size() * 4);
    for (std::size_t i = 0; i < picture.indices.size(); ++i) {
        const std::uint8_t index = picture.indices[i];
        const Rgb& colour = palette[index];
        rgba[4 * i] = colour.red;
        rgba[4 * i + 1] = colour.green;
        rgba[4 * i + 2] = colour.blue;
        rgba[4 * i + 3] = index == 0 ? 0 : 255;
    }
    SetResult(std::move(rgba));
}

} // namespace

TW_EXPORT(tw_alloc) void* tw_alloc(std::size_t size)
{
    return std::malloc(size);
}

TW_EXPORT(tw_free) void tw_free(void* memory)
{
    std::free(memory);
}

TW_EXPORT(tw_result_data) const std::uint8_t* tw_result_data()
{
    return result.data();
}

TW_EXPORT(tw_result_size) std::size_t tw_result_size()
{
    return result.size();
}

// 1, with the refusal, for a file refused by its size before it is read.
TW_EXPORT(tw_refused_by_size) int tw_refused_by_size(double size)
{
    const auto refusal = RefusalBySize(static_cast<std::int64_t>(size));
    if (refusal)
        SetResult(RefusalOutcome(*refusal).text);
    return refusal.has_value();
}

// Room for an image of `size` bytes, which the page fills before tw_open.
TW_EXPORT(tw_image_buffer) std::uint8_t* tw_image_buffer(std::size_t size)
{
    incoming.resize(size);
    return incoming.data();
}

// 1, with the game's name, code, language and window caption as lines, when
// the image in tw_image_buffer is a ROM Tidewell shows, which then is the
// opened one; else 0 with the refusal, and the opened ROM stays.
TW_EXPORT(tw_open) int tw_open()
{
    const auto contents = ReadRomContents(incoming);
    if (!contents) {
        SetResult(RefusalOutcome(contents.error()).text);
        return 0;
    }
    opened = {std::move(incoming), contents->game, contents->values};
    incoming = {};
    planned.reset();
    const Game& game = *contents->game;
    SetLines(std::array{game.name, game.code, game.language, game.windowCaption});
    return 1;
}

// The opened ROM's fifteen values, in the order of StarterValue.
TW_EXPORT(tw_values) void tw_values()
{
    SetSettings(opened.values);
}

// `shown` holds fifteen numbers, -1 for a control that shows nothing.
TW_EXPORT(tw_is_edited) int tw_is_edited(const int* shown)
{
    ShownValues values;
    for (std::size_t i = 0; i < StarterValueCount; ++i)
        if (shown[i] >= 0)
            values[i] = static_cast<std::uint8_t>(shown[i]);
    return opened.game != nullptr && IsEdited(opened.values, values);
}

// The byte for a typed level, or -1.
TW_EXPORT(tw_level_byte) int tw_level_byte(const char* text, std::size_t size)
{
    const auto byte = LevelByte(std::string_view(text, size));
    return byte ? *byte : -1;
}

TW_EXPORT(tw_default_selection) void tw_default_selection()
{
    StarterSettings defaults;
    for (const auto& [value, byte] : DefaultSelection)
        defaults[value] = byte;
    SetSettings(defaults);
}

// The species names (kind 0) or the item names (kind 1), one a line, the
// line's position being the byte.
TW_EXPORT(tw_catalogue) void tw_catalogue(int kind)
{
    if (kind == 0)
        SetLines(SpeciesCatalogue);
    else
        SetLines(ItemCatalogue);
}

// The opened ROM's front picture of a species in its normal colours, as RGBA
// rows: its width, or 0 where there is none. Pictures are square.
TW_EXPORT(tw_picture) int tw_picture(int species)
{
    if (opened.game == nullptr || species < 0 || species > 255)
        return 0;
    const auto byte = static_cast<std::uint8_t>(species);
    const auto picture = FrontPictureOf(opened.image, *opened.game->layout, byte);
    const auto palettes = PalettesOf(opened.image, *opened.game->layout, byte);
    if (!picture || !palettes)
        return 0;
    SetRgba(*picture, palettes->normal);
    return picture->width;
}

// The warnings that Save asks to go past for these fifteen values, one a line.
TW_EXPORT(tw_save_warnings) void tw_save_warnings(const std::uint8_t* values)
{
    SetLines(PokeBallWarnings(SettingsAt(values)));
}

// Texts of the page's own questions: 0 a level box holds nothing, 1 a list
// holds nothing, 2 Save's question after a warning.
TW_EXPORT(tw_text) void tw_text(int which)
{
    constexpr std::array texts{MissingLevelText, MissingChoiceText, SaveAnywayText};
    SetResult(texts.at(static_cast<std::size_t>(which)));
}

// Plans Save of the fifteen values into the opened ROM: the number of bytes it
// changes, with the new image; or -1 with the failure.
TW_EXPORT(tw_plan_save) int tw_plan_save(const std::uint8_t* values, int labText, int rivalTeams)
{
    const StarterSettings settings = SettingsAt(values);
    auto plan = PlanSave(opened.image, settings, {.labText = labText != 0, .rivalTeams = rivalTeams != 0});
    if (!plan) {
        planned.reset();
        SetResult(FailureOutcome({plan.error()}).text);
        return -1;
    }
    planned = PlannedSave{std::move(*plan), settings};
    result = planned->plan.image;
    return static_cast<int>(planned->plan.edits.size());
}

// What the planned Save reports once it is written.
TW_EXPORT(tw_saved_text) void tw_saved_text()
{
    SetResult(planned ? SavedOutcome(planned->plan).text : std::string());
}

// The planned Save was written: the ROM is now its image.
TW_EXPORT(tw_commit_save) void tw_commit_save()
{
    if (!planned)
        return;
    opened.image = std::move(planned->plan.image);
    opened.values = planned->values;
    planned.reset();
}

// A patch (1 for IPS, else BPS) from the opened ROM to the planned Save's
// image: 1 with the patch, or 0 with the failure or the note that there is
// nothing to export.
TW_EXPORT(tw_make_patch) int tw_make_patch(int ips)
{
    if (!planned || planned->plan.edits.empty()) {
        SetResult(FailureOutcome({make_error_code(RomErrc::nothingToExport)}).text);
        return 0;
    }
    const SavePlan& plan = planned->plan;
    auto patch = MakePatch(ips != 0 ? PatchFormat::ips : PatchFormat::bps, opened.image, plan.image, plan.edits);
    if (!patch) {
        SetResult(FailureOutcome({patch.error()}).text);
        return 0;
    }
    SetResult(std::move(*patch));
    return 1;
}

// What the planned Save reports once its patch is written under this name.
TW_EXPORT(tw_patch_written_text) void tw_patch_written_text(const char* name, std::size_t size)
{
    SetResult(planned ? PatchWrittenOutcome(std::string_view(name, size), planned->plan).text : std::string());
}

// What Open asks first when the opened ROM has unsaved edits.
TW_EXPORT(tw_save_changes_question) void tw_save_changes_question(const char* name, std::size_t size)
{
    SetResult(SaveChangesQuestion(std::string_view(name, size)));
}

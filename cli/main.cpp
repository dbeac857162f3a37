#include "Failures.h"
#include "Platform.h"
#include "ListCommand.h"
#include "PictureCommand.h"
#include "SetCommand.h"
#include "ShowCommand.h"
#include "UsageErrors.h"

#include <CLI/CLI.hpp>

#include <string>

namespace {

constexpr const char* rules =
    "Species and items are given by name, in any case and spacing (\"Poke\" for \"Poké\"\n"
    "too, \"mr mime\" for \"Mr. Mime\"), or by number, decimal or 0x-hexadecimal:\n"
    "species 0 to 251, items 0 to 255; list species and list items print them. A name\n"
    "that several entries share, such as \"?????\", must be given as its number. Levels\n"
    "go from 0 to 100.\n"
    "\n"
    "set starts from the ROM's values, applies --defaults, then each option given; an\n"
    "empty part keeps its value (--ball1 ,10 changes only the level). It changes the\n"
    "ROM in place, rebuilding its check data, unless --output writes a changed copy\n"
    "or --bps or --ips writes a patch; at most one of these. --output replaces an\n"
    "existing file only with --force (onto the ROM itself it is a plain save); a\n"
    "patch replaces the file it is given.\n"
    "\n"
    "picture writes the ROM's own front picture of a species (1 to 251) as a PNG file,\n"
    "40, 48 or 56 pixels square, in the ROM's colours, replacing the file it is given.\n"
    "\n"
    "Exit status: 0 done, 1 usage error (or nothing to export), 2 ROM refused\n"
    "(unsupported, not recognised, or changed meanwhile), 3 input/output failure.";

struct WhereSetWrites {
    const char* option;
    Destination destination;
    const char* help;
    const char* example;
};

constexpr WhereSetWrites destinations[] = {
    {"--output", Destination::copy, "Write a changed copy to FILE, leaving ROM as it is; an existing FILE only "
                                    "with --force", "crystal-copy.gbc"},
    {"--bps", Destination::bpsPatch, "Write a BPS patch to FILE, replacing it, leaving ROM as it is", "crystal.bps"},
    {"--ips", Destination::ipsPatch, "Write an IPS patch to FILE, replacing it, leaving ROM as it is", "crystal.ips"},
};

void AddSetOptions(CLI::App& set, SetRequest& request, ValueExamples& examples)
{
    set.add_option("ROM", request.rom, "The ROM file")->required()->type_name("");
    for (std::size_t i = 0; i < StarterRows.size(); ++i) {
        const StarterRow& row = StarterRows[i];
        const CLI::Option* option =
            set.add_option("--" + std::string(row.key), request.choices[i], "Change " + std::string(row.label))
                ->type_name(row.item ? "SPECIES[,LEVEL[,ITEM]]" : "SPECIES[,LEVEL]");
        examples[option] = row.item ? "pikachu,10,leftovers" : "pikachu,10";
    }
    set.add_flag("--defaults", request.defaults, "Start from the default selection");
    set.add_flag("--quiet", request.quiet, "Print nothing when all went well");
    set.add_flag_callback("--no-lab-text", [&request] { request.options.labText = false; },
                          "Leave Elm's questions in the lab as they are");
    set.add_flag_callback("--no-rival-teams", [&request] { request.options.rivalTeams = false; },
                          "Leave the rival's later teams as they are");
    CLI::Option* force = set.add_flag("--force", request.force, "With --output, replace FILE if it exists");
    std::vector<CLI::Option*> exclusive;
    for (const auto& [name, destination, help, example] : destinations) {
        const auto writeThere = [&request, destination](const std::string& file) {
            request.destination = destination;
            request.target = file;
        };
        exclusive.push_back(set.add_option_function<std::string>(name, writeThere, help)->type_name("FILE"));
        examples[exclusive.back()] = example;
        if (destination == Destination::copy)
            force->needs(exclusive.back());
    }
    for (CLI::Option* option : exclusive)
        for (CLI::Option* other : exclusive)
            if (other != option)
                option->excludes(other);
}

} // namespace

static int RunTool(int argc, char** argv)
{
    CLI::App app{"Shows and changes the starter Pokémon of a Pokémon Gold, Silver or Crystal ROM.",
                 "tidewell-cli"};
    app.set_version_flag("--version", "tidewell-cli " PROJECT_VERSION);
    app.require_subcommand(1);
    ValueExamples examples;
    app.failure_message([&examples](const CLI::App* tool, const CLI::Error& error) {
        return UsageErrorText(*tool, error, examples);
    });

    std::filesystem::path shown;
    bool json = false;
    CLI::App* show = app.add_subcommand("show", "Print the game and its fifteen starter values");
    show->add_option("ROM", shown, "The ROM file")->required()->type_name("");
    show->add_flag("--json", json, "Print one JSON object instead of a table");

    SetRequest request;
    CLI::App* set = app.add_subcommand("set", "Change starter values and write them");
    set->footer(rules);
    AddSetOptions(*set, request, examples);

    std::string listed;
    bool listJson = false;
    CLI::App* list = app.add_subcommand("list", "Print the species or item numbers and their names");
    list->add_option("WHAT", listed, "species or items")->required()->check(CLI::IsMember({"species", "items"}));
    list->add_flag("--json", listJson, "Print one JSON array instead of lines");

    PictureRequest picture;
    CLI::App* pictureCommand = app.add_subcommand("picture", "Write a species' front picture as a PNG file");
    pictureCommand->add_option("ROM", picture.rom, "The ROM file")->required()->type_name("");
    pictureCommand->add_option("SPECIES", picture.species, "The species, by name or number")->required()->type_name("");
    examples[pictureCommand->add_option("--output", picture.output, "The PNG file to write, replacing it")
                 ->required()
                 ->type_name("FILE")] = "pikachu.png";
    pictureCommand->add_flag("--shiny", picture.shiny, "Use the shiny colours");
    pictureCommand->add_flag("--quiet", picture.quiet, "Print nothing when all went well");

    // Set last: a subcommand takes its parent's footer when it is added.
    app.footer(rules);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : static_cast<int>(ExitStatus::usage);
    }
    if (show->parsed())
        return RunShow(shown, json);
    if (pictureCommand->parsed())
        return RunPicture(picture);
    if (list->parsed())
        return RunList(listed == "species" ? ValueKind::species : ValueKind::item, listJson);
    return RunSet(request);
}

int main(int argc, char** argv)
{
    platform::HoldTerminationSignals();
    return EndedBySignal(RunTool(argc, argv));
}

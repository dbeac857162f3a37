#include "UsageErrors.h"

#include "ValueText.h"

#include <optional>
#include <string_view>
#include <vector>

namespace {

// The subcommand the user chose, or the tool itself before one.
const CLI::App& ChosenCommand(const CLI::App& tool)
{
    const auto chosen = tool.get_subcommands();
    return chosen.empty() ? tool : *chosen.front();
}

std::string HelpCommand(const CLI::App& command)
{
    return command.get_parent() ? "tidewell-cli " + command.get_name() + " --help" : "tidewell-cli --help";
}

std::string NearestOf(const std::vector<std::string>& names, std::string_view given)
{
    const std::vector<std::string_view> views(names.begin(), names.end());
    return NearestNames(views, given);
}

std::vector<std::string> CommandNames(const CLI::App& tool)
{
    std::vector<std::string> names;
    for (const CLI::App* command : tool.get_subcommands([](const CLI::App*) { return true; }))
        names.push_back(command->get_name());
    return names;
}

std::string NotAnOption(const CLI::App& command, std::string_view given)
{
    std::vector<std::string> names;
    for (const CLI::Option* option : command.get_options())
        if (!option->get_lnames().empty())
            names.push_back("--" + option->get_lnames().front());
    const std::string_view name = given.substr(0, given.find('='));
    return command.get_name() + " has no option " + std::string(name) + " (did you mean " + NearestOf(names, name)
           + "?)";
}

// CLI11 starts a message about one option or positional with its name.
const CLI::Option* OptionNamedIn(const CLI::App& command, const CLI::Error& error)
{
    const std::string_view message = error.what();
    return command.get_option_no_throw(std::string(message.substr(0, message.find(':'))));
}

std::string MissingValue(const CLI::Option& option, const ValueExamples& examples)
{
    const auto example = examples.find(&option);
    return option.get_name() + " needs a value, such as " + option.get_name() + " "
           + (example != examples.end() ? example->second : option.get_type_name());
}

std::string NotAChoice(const CLI::App& command, const CLI::Option& option)
{
    return command.get_name() + " takes " + option.get_description() + ", not \"" + option.results().front()
           + "\"";
}

struct UnknownOption {
    const CLI::App* command;
    std::string given;
};

// An option the tool does not know, in the chosen command or before it.
std::optional<UnknownOption> UnknownOptionOf(const CLI::App& tool, const CLI::App& command)
{
    for (const CLI::App* where : {&command, &tool})
        for (const std::string& extra : where->remaining())
            if (extra.starts_with('-'))
                return UnknownOption{where, extra};
    return std::nullopt;
}

std::string Reason(const CLI::App& tool, const CLI::App& command, const std::optional<UnknownOption>& unknown,
                   const CLI::Error& error, const ValueExamples& examples)
{
    const std::vector<std::string> extras = tool.remaining(true);
    const bool noCommand = &command == &tool;
    if (noCommand && !extras.empty() && !extras.front().starts_with('-'))
        return "no command is named \"" + extras.front() + "\" (did you mean "
               + NearestOf(CommandNames(tool), extras.front()) + "?)";
    if (unknown)
        return NotAnOption(*unknown->command, unknown->given);
    if (noCommand)
        return "give a command: " + OneOf(CommandNames(tool));
    if (!extras.empty())
        return "\"" + extras.front() + "\" is more than " + command.get_name() + " takes";
    const CLI::Option* named = OptionNamedIn(command, error);
    if (named && dynamic_cast<const CLI::ArgumentMismatch*>(&error))
        return MissingValue(*named, examples);
    if (named && dynamic_cast<const CLI::ValidationError*>(&error) && !named->results().empty())
        return NotAChoice(command, *named);
    return error.what();
}

} // namespace

std::string UsageErrorText(const CLI::App& tool, const CLI::Error& error, const ValueExamples& examples)
{
    const CLI::App& command = ChosenCommand(tool);
    const auto unknown = UnknownOptionOf(tool, command);
    return "tidewell-cli: " + Reason(tool, command, unknown, error, examples) + ". See "
           + HelpCommand(unknown ? *unknown->command : command) + ".\n";
}

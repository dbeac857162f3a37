#include "FileWriting.h"

#include "RomContents.h"
#include "RomErrors.h"

#include <algorithm>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

bool IsFile(const std::optional<FileStatus>& status, const FileIdentity& identity)
{
    return status && status->kind == FileStatus::Kind::regular && status->identity.SameInode(identity);
}

// A name of our own in the folder, short so that any folder that takes the
// target's name takes it too; removed again unless it was moved into place,
// and then only while it still names the file made under it.
struct TemporaryFile {
    RomFile file;
    FileIdentity identity;
    fs::path name;
    bool removeName = true;

    TemporaryFile(RomFile file, FileIdentity identity, fs::path name)
        : file(std::move(file)), identity(identity), name(std::move(name))
    {
    }
    TemporaryFile(TemporaryFile&&) = default;
    ~TemporaryFile() { Discard(); }

    bool StillNamed() const { return IsFile(platform::NameStatus(name), identity); }

    // The name, when it had to be left.
    std::optional<fs::path> Discard()
    {
        if (!std::exchange(removeName, false) || name.empty())
            return std::nullopt;
        if (!StillNamed() || platform::RemoveName(name))
            return name;
        return std::nullopt;
    }
};

constexpr std::string_view temporaryPrefix = ".tw";
constexpr std::size_t temporaryDigits = 8;

std::expected<TemporaryFile, std::error_code> CreateTemporary(const fs::path& folder, fs::perms permissions)
{
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string digits = std::to_string(random() % 100000000);
        digits.insert(0, temporaryDigits - digits.size(), '0');
        const fs::path name = folder / (std::string(temporaryPrefix) + digits);
        auto file = RomFile::CreateNew(name, permissions);
        if (!file && file.error() == std::errc::file_exists)
            continue;
        if (!file)
            return std::unexpected(file.error());
        const auto identity = file->Identity();
        if (!identity)
            return std::unexpected(identity.error());
        return TemporaryFile(std::move(*file), *identity, name);
    }
    return std::unexpected(std::make_error_code(std::errc::file_exists));
}

bool IsTemporaryName(const std::string& name)
{
    return name.size() == temporaryPrefix.size() + temporaryDigits && name.starts_with(temporaryPrefix)
        && std::ranges::all_of(name.substr(temporaryPrefix.size()), [](char c) { return c >= '0' && c <= '9'; });
}

// Ours to remove: a file under our temporary name, the user's, untouched for
// a minute, holding a ROM image, as a save cut short leaves one.
bool IsLeftover(const fs::path& name, const FileStatus& status)
{
    constexpr std::int64_t settled = 60;
    if (status.kind != FileStatus::Kind::regular || status.owner != platform::CurrentUser()
        || platform::Now() - status.modifiedSeconds < settled || RefusalBySize(status.size))
        return false;
    auto file = RomFile::Open(name, RomFile::Access::read);
    const auto image = file ? file->ReadAll() : std::unexpected(file.error());
    const auto identity = file ? file->Identity() : std::unexpected(file.error());
    return image && identity && identity->SameInode(status.identity) && ReadRomContents(*image).has_value();
}

void RemoveLeftovers(const fs::path& folder)
{
    std::error_code failure;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, failure)) {
        const fs::path& name = entry.path();
        if (!IsTemporaryName(name.filename().string()))
            continue;
        const auto status = platform::NameStatus(name);
        if (status && IsLeftover(name, *status) && IsFile(platform::NameStatus(name), status->identity))
            platform::RemoveName(name);
    }
}

std::error_code FillAndSync(RomFile& file, std::span<const std::uint8_t> bytes)
{
    if (const std::error_code failure = file.WriteAll(bytes))
        return failure;
    return file.SyncToDisk();
}

using platform::Rename;
using platform::RenameName;
using platform::SyncFolder;

bool CannotCreateThere(std::error_code error)
{
    return error == std::errc::permission_denied || error == std::errc::operation_not_permitted
        || error == std::errc::read_only_file_system;
}

using platform::NameStatus;

// The file a path leads to through symbolic links, even one that does not
// exist yet, as cp writes through a dangling link; the path itself when it
// leads nowhere.
fs::path Resolved(const fs::path& path)
{
    std::error_code failure;
    fs::path place = fs::absolute(path, failure);
    constexpr int mostLinks = 40;
    for (int followed = 0; followed < mostLinks && fs::is_symlink(place, failure); ++followed)
        place = place.parent_path() / fs::read_symlink(place, failure);
    const fs::path resolved = fs::weakly_canonical(place, failure);
    return resolved.empty() ? path : resolved;
}

// Why a new file may not go where a file already stands, if it may not.
std::error_code Refusal(const std::optional<FileStatus>& standing, const FileIdentity& source,
                        std::error_code overSource)
{
    if (!standing)
        return {};
    if (standing->kind != FileStatus::Kind::regular)
        return make_error_code(RomErrc::notRegularFile);
    if (IsFile(standing, source))
        return overSource;
    return {};
}

// Swaps the new file in; what came out is judged by `refusal` and, refused, swapped back.
template <typename Refusal>
std::error_code SwapIn(TemporaryFile& temporary, const fs::path& place, Refusal refusal)
{
    if (!temporary.StillNamed())
        return make_error_code(RomErrc::temporaryTaken);
    BeforeSwap();
    if (const std::error_code failure = RenameName(temporary.name, place, Rename::exchange))
        return failure;
    const auto tookOut = NameStatus(temporary.name);
    const std::error_code refused = refusal(tookOut);
    if (!refused && tookOut)
        temporary.identity = tookOut->identity;
    else if (BeforeSwap(), RenameName(temporary.name, place, Rename::exchange))
        temporary.removeName = false; // what came out stays, under our name
    return refused;
}

std::error_code PutInPlace(TemporaryFile& temporary, const fs::path& place, const FileIdentity& source,
                           std::error_code overSource)
{
    const auto refusal = [&](const std::optional<FileStatus>& standing) {
        return Refusal(standing, source, overSource);
    };
    if (!temporary.StillNamed())
        return make_error_code(RomErrc::temporaryTaken);
    std::error_code failure = RenameName(temporary.name, place, Rename::noReplace);
    if (failure == std::errc::file_exists)
        failure = SwapIn(temporary, place, refusal);
    else if (!failure)
        temporary.removeName = false;
    if (!platform::CannotRenameThisWay(failure))
        return failure;
    // A file system without atomic renames of this kind: check, then rename.
    if (const std::error_code refused = refusal(NameStatus(place)))
        return refused;
    if (const std::error_code failed = RenameName(temporary.name, place, Rename::replace))
        return failed;
    temporary.removeName = false;
    return {};
}

} // namespace

void (*BeforeSwap)() = [] {};

std::expected<std::optional<Replaced>, SaveFailure>
ReplaceFile(RomFile& file, const fs::path& path, std::span<const std::uint8_t> bytes)
{
    const auto untouched = [](std::error_code error, std::string leftAlone = {}) {
        return std::unexpected(SaveFailure{error, RomLeft::untouched, std::move(leftAlone)});
    };
    const auto status = file.Status();
    if (!status)
        return untouched(status.error());
    std::error_code failure;
    const fs::path place = fs::canonical(path, failure);
    if (failure)
        return untouched(make_error_code(RomErrc::romChanged));
    const fs::path folder = place.parent_path();
    RemoveLeftovers(folder);
    // A read-only ROM stays unwritten, as a write in place would leave it.
    // Where no name can be removed, every attempt would leave one behind.
    if (status->links != 1 || status->owner != platform::CurrentUser()
        || (status->permissions & fs::perms::owner_write) == fs::perms::none || platform::KeepsEveryName(folder))
        return std::nullopt;
    auto temporary = CreateTemporary(folder, fs::perms::owner_read | fs::perms::owner_write);
    if (!temporary && CannotCreateThere(temporary.error()))
        return std::nullopt;
    if (!temporary)
        return untouched(temporary.error());
    const auto made = temporary->file.Status();
    if (!made)
        return untouched(made.error());
    // A file that cannot keep the ROM's group would not stay what it was.
    if (made->group != status->group && temporary->file.SetGroup(status->group))
        return std::nullopt;
    failure = temporary->file.SetPermissions(status->permissions);
    if (!failure)
        failure = FillAndSync(temporary->file, bytes);
    if (!failure)
        failure = SwapIn(*temporary, place, [&](const std::optional<FileStatus>& tookOut) {
            return IsFile(tookOut, status->identity) ? std::error_code{} : make_error_code(RomErrc::romChanged);
        });
    if (failure == std::errc::no_such_file_or_directory)
        failure = make_error_code(RomErrc::romChanged);
    if (platform::CannotRenameThisWay(failure))
        return std::nullopt;
    if (failure) {
        const auto leftAlone = temporary->Discard();
        return untouched(failure, leftAlone ? leftAlone->string() : std::string());
    }
    const auto identity = temporary->file.Identity();
    if (!identity)
        return std::unexpected(SaveFailure{identity.error(), RomLeft::changed});
    // The old image goes before the folder is synced, so that no crash leaves it behind.
    temporary->Discard();
    return Replaced{*identity, SyncFolder(folder)};
}

std::expected<FileIdentity, std::error_code>
WriteNewFile(const fs::path& target, std::span<const std::uint8_t> bytes, std::optional<fs::perms> permissions,
             const FileIdentity& source, std::error_code overSource)
{
    const fs::path place = Resolved(target);
    if (const std::error_code refused = Refusal(NameStatus(place), source, overSource))
        return std::unexpected(refused);
    // No name of ours could be moved into place there, nor removed again.
    if (platform::KeepsEveryName(place.parent_path()))
        return std::unexpected(std::make_error_code(std::errc::operation_not_permitted));
    constexpr auto everyone = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read
                            | fs::perms::group_write | fs::perms::others_read | fs::perms::others_write;
    auto temporary = CreateTemporary(place.parent_path(), everyone);
    if (!temporary)
        return std::unexpected(temporary.error());
    std::error_code failure;
    if (permissions)
        failure = temporary->file.SetPermissions(*permissions);
    if (!failure)
        failure = FillAndSync(temporary->file, bytes);
    if (!failure)
        failure = PutInPlace(*temporary, place, source, overSource);
    if (!failure)
        failure = SyncFolder(place.parent_path());
    if (failure)
        return std::unexpected(failure);
    return temporary->file.Identity();
}

bool Names(const fs::path& path, const FileIdentity& identity)
{
    const auto status = platform::PathStatus(path);
    return status && status->identity.SameInode(identity);
}

#include "FileWriting.h"

#include "RomErrors.h"

#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

// A name of our own in the folder, short so that any folder that takes the
// target's name takes it too; removed again unless it was moved into place.
struct TemporaryFile {
    RomFile file;
    fs::path name;
    bool removeName = true;

    TemporaryFile(RomFile file, fs::path name) : file(std::move(file)), name(std::move(name)) {}
    TemporaryFile(TemporaryFile&&) = default;
    ~TemporaryFile()
    {
        if (removeName && !name.empty())
            platform::RemoveName(name);
    }
};

std::expected<TemporaryFile, std::error_code> CreateTemporary(const fs::path& folder, fs::perms permissions)
{
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path name = folder / (".tw" + std::to_string(random() % 100000000));
        auto file = RomFile::CreateNew(name, permissions);
        if (file)
            return TemporaryFile(std::move(*file), name);
        if (file.error() != std::errc::file_exists)
            return std::unexpected(file.error());
    }
    return std::unexpected(std::make_error_code(std::errc::file_exists));
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

bool IsFile(const std::optional<FileStatus>& status, const FileIdentity& identity)
{
    return status && status->kind == FileStatus::Kind::regular && status->identity.SameInode(identity);
}

// The file a path leads to through symbolic links; the path itself when it leads nowhere yet.
fs::path Resolved(const fs::path& path)
{
    std::error_code ignored;
    const fs::path resolved = fs::weakly_canonical(fs::absolute(path, ignored), ignored);
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
    if (const std::error_code failure = RenameName(temporary.name, place, Rename::exchange))
        return failure;
    const std::error_code refused = refusal(NameStatus(temporary.name));
    if (refused && RenameName(temporary.name, place, Rename::exchange))
        temporary.removeName = false; // what came out stays, under our name
    return refused;
}

std::error_code PutInPlace(TemporaryFile& temporary, const fs::path& place, const FileIdentity& source,
                           std::error_code overSource)
{
    const auto refusal = [&](const std::optional<FileStatus>& standing) {
        return Refusal(standing, source, overSource);
    };
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

std::expected<std::optional<FileIdentity>, std::error_code>
ReplaceFile(RomFile& file, const fs::path& path, std::span<const std::uint8_t> bytes)
{
    const auto status = file.Status();
    if (!status)
        return std::unexpected(status.error());
    // A read-only ROM stays unwritten, as a write in place would leave it.
    if (status->links != 1 || status->owner != platform::CurrentUser()
        || (status->permissions & fs::perms::owner_write) == fs::perms::none)
        return std::nullopt;
    std::error_code failure;
    const fs::path place = fs::canonical(path, failure);
    if (failure)
        return std::unexpected(make_error_code(RomErrc::romChanged));
    auto temporary = CreateTemporary(place.parent_path(), fs::perms::owner_read | fs::perms::owner_write);
    if (!temporary && CannotCreateThere(temporary.error()))
        return std::nullopt;
    if (!temporary)
        return std::unexpected(temporary.error());
    const auto made = temporary->file.Status();
    if (!made)
        return std::unexpected(made.error());
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
    if (failure)
        return std::unexpected(failure);
    SyncFolder(place.parent_path());
    const auto identity = temporary->file.Identity();
    if (!identity)
        return std::unexpected(identity.error());
    return *identity;
}

std::expected<FileIdentity, std::error_code>
WriteNewFile(const fs::path& target, std::span<const std::uint8_t> bytes, std::optional<fs::perms> permissions,
             const FileIdentity& source, std::error_code overSource)
{
    const fs::path place = Resolved(target);
    if (const std::error_code refused = Refusal(NameStatus(place), source, overSource))
        return std::unexpected(refused);
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
    if (failure)
        return std::unexpected(failure);
    SyncFolder(place.parent_path());
    return temporary->file.Identity();
}

bool Names(const fs::path& path, const FileIdentity& identity)
{
    const auto status = platform::PathStatus(path);
    return status && status->identity.SameInode(identity);
}

#pragma once

#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <system_error>

// Every call the file layer makes to the operating system, and nothing more.
// PosixPlatform.cpp is the one implementation; another system adds its own
// file beside it.

// Which file a handle is on, whatever path led there: its device and inode,
// and a time that a file made later under a reused inode number cannot share
// (its birth time where the file system keeps one, else its last change).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t stampSeconds = 0;
    std::uint32_t stampNanoseconds = 0;
    bool stampIsBirth = false;
    bool operator==(const FileIdentity&) const = default;

    // The same file while both handles are open: inode numbers are only reused once it is gone.
    bool SameInode(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
};

struct FileStatus {
    enum class Kind { regular, symbolicLink, other };
    FileIdentity identity;
    Kind kind = Kind::other;
    std::filesystem::perms permissions{};
    std::uint64_t links = 0;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
};

namespace platform {

using Handle = std::intptr_t;
inline constexpr Handle noHandle = -1;

enum class Access { read, readWrite };

// Finds out what the path names before opening it for reading or writing:
// anything but a regular file is refused (RomErrc::notRegularFile) unopened.
std::expected<Handle, std::error_code> OpenRegular(const std::filesystem::path& path, Access access);
// The file the handle is on, with other access (RomErrc::romChanged if that fails to hold).
std::expected<Handle, std::error_code> Reopen(Handle handle, Access access);
// A file that did not exist before, never one that did (std::errc::file_exists).
std::expected<Handle, std::error_code> CreateNew(const std::filesystem::path& path, std::filesystem::perms permissions);
std::error_code Close(Handle handle);

// How many bytes were read: fewer at the end of the file.
std::expected<std::size_t, std::error_code> ReadAt(Handle handle, std::span<std::uint8_t> bytes, std::int64_t offset);
std::error_code WriteAt(Handle handle, std::span<const std::uint8_t> bytes, std::int64_t offset);
std::expected<FileStatus, std::error_code> StatusOf(Handle handle);
std::error_code SetPermissions(Handle handle, std::filesystem::perms permissions);
std::error_code SetGroup(Handle handle, std::uint32_t group);
std::error_code Sync(Handle handle);

// What a name in a folder holds, without following it if it is a symbolic link.
std::optional<FileStatus> NameStatus(const std::filesystem::path& path);
// What a path leads to through symbolic links.
std::optional<FileStatus> PathStatus(const std::filesystem::path& path);

enum class Rename { replace, noReplace, exchange };
// Tells by its error whether the file system cannot rename this way at all.
std::error_code RenameName(const std::filesystem::path& from, const std::filesystem::path& to, Rename how);
bool CannotRenameThisWay(std::error_code error);
std::error_code RemoveName(const std::filesystem::path& path);
std::error_code SyncFolder(const std::filesystem::path& folder);
// A folder where names can be added but never removed or replaced.
bool KeepsEveryName(const std::filesystem::path& folder);

std::uint32_t CurrentUser();
// The seconds since the epoch now, on the file system's clock.
std::int64_t Now();
// Where the user's programs keep state between runs.
std::filesystem::path UserStateFolder();

// While alive, the termination signals wait in this thread, and a write over
// the file-size limit fails instead of ending the process, so that a write is
// always finished or undone.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    struct Before;
    std::unique_ptr<Before> before_;
};

// For a front end, first in main(), before any thread starts: the termination
// signals (interrupt, terminate, hang-up, quit) then wait in every thread
// until the front end takes them; the user-defined and alarm signals, which
// Tidewell never uses, are ignored.
void HoldTerminationSignals();
// Readable whenever a held termination signal waits, for an event loop to watch.
Handle TerminationSignalsHandle();
// The number of a termination signal that waits, taken from the queue.
std::optional<int> TakeTerminationSignal();

} // namespace platform

#pragma once

#include "Outcomes.h"
#include "RomFile.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

using platform::SignalsHeld;

// The file that took the ROM's place, and whether the system could not
// confirm that its name reached the disk.
struct Replaced {
    FileIdentity identity;
    std::error_code unsynced;
};

// Puts `bytes` in the place of the open `file`, which `path` names: written
// to a temporary file in the same folder, synced, given the file's permission
// bits and group, then swapped with it in one step. If what the swap took out
// of the path is not `file`, it is swapped back (RomErrc::romChanged). A
// temporary name is moved or removed only while it names the file Tidewell
// put there; otherwise it is left, and the failure names it. Before, the
// leftovers of saves cut short in that folder are removed.
// Nothing when the file cannot be replaced and stay what it was (more than one
// link, another owner, no write permission, a folder that cannot be written or
// keeps every name, a file system or mount point that cannot swap names): it
// must then be written in place.
std::expected<std::optional<Replaced>, SaveFailure>
ReplaceFile(RomFile& file, const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Runs just before each swap of names: a test puts another program's rename there.
extern void (*BeforeSwap)();

// Writes a whole new file at `target`, or through it to the file it names if
// it is a symbolic link: into a temporary file beside it, synced, then put in
// place in one step, so that the target keeps what it had or holds all of
// `bytes`. A target that exists must be a regular file (RomErrc::notRegularFile)
// other than `source` (`overSource`). Without permissions the new file gets
// 0666 less the umask. The result names the new file.
std::expected<FileIdentity, std::error_code>
WriteNewFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
             std::optional<std::filesystem::perms> permissions, const FileIdentity& source,
             std::error_code overSource);

// Where `path` names the file `identity` names.
bool Names(const std::filesystem::path& path, const FileIdentity& identity);

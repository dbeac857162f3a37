#include "Journal.h"

#include "FileWriting.h"
#include "Platform.h"
#include "RomErrors.h"

#include <array>
#include <charconv>
#include <zlib.h>

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::uint8_t, 4> magic{'T', 'W', 'J', '1'};

// What a journal holds: the file it was made for, and each edit's offset,
// old byte and new byte, then a checksum of all that.
struct Record {
    FileIdentity identity;
    std::int64_t size = 0;
    RomEdits edits;
};

template <typename Number>
void Put(std::vector<std::uint8_t>& bytes, Number value)
{
    for (std::size_t i = 0; i < sizeof(Number); ++i)
        bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
}

// Reads numbers from the front of a span, failing once past its end.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    template <typename Number>
    bool Get(Number& value)
    {
        if (bytes_.size() < sizeof(Number))
            return false;
        std::uint64_t gathered = 0;
        for (std::size_t i = 0; i < sizeof(Number); ++i)
            gathered |= std::uint64_t{bytes_[i]} << (8 * i);
        value = static_cast<Number>(gathered);
        bytes_ = bytes_.subspan(sizeof(Number));
        return true;
    }
    bool AtEnd() const { return bytes_.empty(); }

private:
    std::span<const std::uint8_t> bytes_;
};

std::uint32_t Checksum(std::span<const std::uint8_t> bytes)
{
    return static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

std::vector<std::uint8_t> Encoded(const Record& record)
{
    std::vector<std::uint8_t> bytes(magic.begin(), magic.end());
    const FileIdentity& identity = record.identity;
    Put(bytes, identity.device);
    Put(bytes, identity.inode);
    Put(bytes, identity.stampSeconds);
    Put(bytes, identity.stampNanoseconds);
    Put(bytes, std::uint8_t{identity.stampIsBirth});
    Put(bytes, record.size);
    Put(bytes, static_cast<std::uint32_t>(record.edits.size()));
    for (const ByteEdit& edit : record.edits) {
        Put(bytes, static_cast<std::uint32_t>(edit.offset));
        Put(bytes, edit.before);
        Put(bytes, edit.after);
    }
    Put(bytes, Checksum(bytes));
    return bytes;
}

std::optional<Record> Decoded(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < magic.size() + 4 || !std::equal(magic.begin(), magic.end(), bytes.begin()))
        return std::nullopt;
    const auto body = bytes.first(bytes.size() - 4);
    std::uint32_t checksum = 0;
    Reader(bytes.last(4)).Get(checksum);
    if (checksum != Checksum(body))
        return std::nullopt;
    Reader reader(body.subspan(magic.size()));
    Record record;
    FileIdentity& identity = record.identity;
    std::uint8_t birth = 0;
    std::uint32_t count = 0;
    if (!reader.Get(identity.device) || !reader.Get(identity.inode) || !reader.Get(identity.stampSeconds)
        || !reader.Get(identity.stampNanoseconds) || !reader.Get(birth) || !reader.Get(record.size)
        || !reader.Get(count))
        return std::nullopt;
    identity.stampIsBirth = birth != 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t offset = 0;
        ByteEdit edit{};
        if (!reader.Get(offset) || !reader.Get(edit.before) || !reader.Get(edit.after))
            return std::nullopt;
        edit.offset = offset;
        record.edits.push_back(edit);
    }
    if (!reader.AtEnd())
        return std::nullopt;
    return record;
}

fs::path JournalFolder()
{
    return platform::UserStateFolder() / "tidewell";
}

std::string Hex(std::uint64_t number)
{
    std::array<char, 16> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), number, 16).ptr;
    return std::string(digits.data(), end);
}

fs::path JournalPath(const FileIdentity& identity)
{
    return JournalFolder() / (Hex(identity.device) + "-" + Hex(identity.inode) + ".journal");
}

// The same file, not one made later under its inode number, caught at any
// moment of the write: every byte the journal names holds its old or new value.
bool Matches(const Record& record, const FileStatus& status, std::span<const std::uint8_t> image)
{
    const FileIdentity& identity = status.identity;
    if (!record.identity.SameInode(identity) || record.size != status.size
        || std::ssize(image) != status.size)
        return false;
    if (record.identity.stampIsBirth && identity.stampIsBirth && record.identity != identity)
        return false;
    return std::ranges::all_of(record.edits, [&](const ByteEdit& edit) {
        return edit.offset < image.size() && (image[edit.offset] == edit.before || image[edit.offset] == edit.after);
    });
}

std::error_code PutBack(RomFile& file, const RomEdits& edits)
{
    auto writable = file.Reopen(RomFile::Access::readWrite);
    if (!writable)
        return writable.error();
    for (const ByteEdit& edit : edits)
        if (const std::error_code failure = writable->WriteByte(static_cast<std::int32_t>(edit.offset), edit.before))
            return failure;
    return writable->SyncToDisk();
}

std::error_code Remove(const fs::path& journal)
{
    if (const std::error_code failure = platform::RemoveName(journal))
        return failure;
    return platform::SyncFolder(journal.parent_path());
}

} // namespace

std::expected<Journal, std::error_code> Journal::Begin(RomFile& file, const RomEdits& edits)
{
    const auto status = file.Status();
    if (!status)
        return std::unexpected(status.error());
    std::error_code failure;
    fs::create_directories(JournalFolder(), failure);
    if (failure)
        return std::unexpected(failure);
    const fs::path path = JournalPath(status->identity);
    const auto written = WriteNewFile(path, Encoded({status->identity, status->size, edits}),
                                      fs::perms::owner_read | fs::perms::owner_write, status->identity,
                                      make_error_code(RomErrc::romChanged));
    if (!written)
        return std::unexpected(written.error());
    return Journal(path);
}

std::error_code Journal::End()
{
    return Remove(path_);
}

std::expected<InterruptedSaveFound, std::error_code> PutBackInterruptedSave(RomFile& file)
{
    const auto status = file.Status();
    if (!status)
        return std::unexpected(status.error());
    const fs::path path = JournalPath(status->identity);
    // A folder this user cannot look into holds no journal of theirs.
    if (!platform::NameStatus(path))
        return InterruptedSaveFound{};
    auto journal = RomFile::Open(path, RomFile::Access::read);
    const auto bytes = journal ? journal->ReadAll() : std::unexpected(journal.error());
    if (!bytes)
        return std::unexpected(bytes.error());
    const auto image = file.ReadAll();
    if (!image)
        return std::unexpected(image.error());
    const auto record = Decoded(*bytes);
    if (!record || !Matches(*record, *status, *image)) {
        fs::path keptAs = path;
        keptAs += ".unmatched";
        if (const std::error_code failure = platform::RenameName(path, keptAs, platform::Rename::replace))
            return std::unexpected(failure);
        return InterruptedSaveFound{InterruptedSave::recordKept, keptAs};
    }
    if (const std::error_code failure = PutBack(file, record->edits))
        return std::unexpected(failure);
    if (const std::error_code failure = Remove(path))
        return std::unexpected(failure);
    return InterruptedSaveFound{InterruptedSave::putBack, {}};
}

#include "RomImage.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

Bytes MakeRom(std::string_view code, std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 31 + i / 251) & 0xFF);
    for (std::size_t i = 0; i < code.size() && 0x13F + i < size; ++i)
        bytes[0x13F + i] = static_cast<std::uint8_t>(code[i]);
    return bytes;
}

Bytes ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

ScratchFolder::ScratchFolder()
{
    std::string pattern = (fs::temp_directory_path() / "tidewell-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    root_ = pattern;
    // An ordinary user must be able to reach the files inside.
    fs::permissions(root_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec
                               | fs::perms::group_read | fs::perms::others_read);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

fs::path ScratchFolder::Write(std::string_view name, const Bytes& bytes) const
{
    const fs::path path = File(name);
    WriteAll(path, bytes);
    return path;
}

namespace {
constexpr uid_t nobody = 65534;
}

bool AsOrdinaryUser::RunningAsRoot()
{
    return geteuid() == 0;
}

AsOrdinaryUser::AsOrdinaryUser()
{
    if (!RunningAsRoot())
        return;
    if (setegid(nobody) != 0 || seteuid(nobody) != 0)
        throw std::runtime_error("cannot act as an ordinary user");
    switched_ = true;
}

AsOrdinaryUser::~AsOrdinaryUser()
{
    if (switched_ && (seteuid(0) != 0 || setegid(0) != 0))
        std::abort();
}

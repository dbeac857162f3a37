#include "HexFunctions.h"

#include "RomErrors.h"
#include "RomFile.h"

#include <limits>

namespace {

constexpr std::string_view hexDigits = "0123456789ABCDEF";

std::expected<std::int32_t, std::error_code> CheckedOffset(std::int64_t offset)
{
    if (offset < std::numeric_limits<std::int32_t>::min()
        || offset > std::numeric_limits<std::int32_t>::max())
        return std::unexpected(make_error_code(RomErrc::offsetOutOfRange));
    return static_cast<std::int32_t>(offset);
}

int DigitValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

} // namespace

std::string TwoDigitHex(int value)
{
    const auto low = static_cast<unsigned>(value) & 0xFFu;
    return {hexDigits[low >> 4], hexDigits[low & 0xFu]};
}

std::expected<std::uint8_t, std::error_code> HexByte(std::string_view pair)
{
    if (pair.size() != 2)
        return std::unexpected(make_error_code(RomErrc::badHexPair));
    const int high = DigitValue(pair[0]);
    const int low = DigitValue(pair[1]);
    if (high < 0 || low < 0)
        return std::unexpected(make_error_code(RomErrc::badHexPair));
    return static_cast<std::uint8_t>(high * 16 + low);
}

std::expected<std::string, std::error_code> ReadHex(RomFile& file, std::int32_t offset,
                                                    std::int32_t count)
{
    std::string text;
    if (count <= 0)
        return text;
    const auto last = CheckedOffset(std::int64_t{offset} + count - 1);
    if (!last)
        return std::unexpected(last.error());
    for (std::int64_t p = offset; p <= *last; ++p) {
        const auto byte = file.ReadByte(static_cast<std::int32_t>(p));
        if (!byte)
            return std::unexpected(byte.error());
        text += TwoDigitHex(*byte);
    }
    return text;
}

std::expected<std::string, std::error_code>
ReadHex(const std::filesystem::path& path, std::int32_t offset, std::int32_t count)
{
    auto file = RomFile::Open(path, RomFile::Access::read);
    if (!file)
        return std::unexpected(file.error());
    auto text = ReadHex(*file, offset, count);
    if (auto ec = file->Close(); ec && text)
        return std::unexpected(ec);
    return text;
}

std::expected<void, std::error_code> WriteHex(RomFile& file, std::int32_t offset,
                                              std::string_view hexText)
{
    const std::string text = (hexText.size() % 2 != 0 ? "0" : "") + std::string(hexText);
    for (std::size_t k = 0; 2 * k < text.size(); ++k) {
        const auto byte = HexByte(std::string_view(text).substr(2 * k, 2));
        if (!byte)
            return std::unexpected(byte.error());
        const auto at = CheckedOffset(std::int64_t{offset} + static_cast<std::int64_t>(k));
        if (!at)
            return std::unexpected(at.error());
        if (auto ec = file.WriteByte(*at, *byte))
            return std::unexpected(ec);
    }
    return {};
}

std::expected<void, std::error_code>
WriteHex(const std::filesystem::path& path, std::int32_t offset, std::string_view hexText)
{
    auto file = RomFile::Open(path, RomFile::Access::readWrite);
    if (!file)
        return std::unexpected(file.error());
    auto written = WriteHex(*file, offset, hexText);
    if (auto ec = file->Close(); ec && written)
        return std::unexpected(ec);
    return written;
}

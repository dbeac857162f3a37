#include "PngFile.h"

#include <png.h>

std::expected<std::vector<std::uint8_t>, std::string> EncodePng(int width, int height,
                                                                std::span<const std::uint8_t> rgb)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (rgb.size() != PNG_IMAGE_SIZE(image))
        return std::unexpected("the pixels do not fill the image");
    png_alloc_size_t size = 0;
    std::vector<std::uint8_t> bytes;
    // The first call measures, the second writes.
    for (int pass = 0; pass < 2; ++pass) {
        bytes.resize(size);
        if (!png_image_write_to_memory(&image, size ? bytes.data() : nullptr, &size, 0, rgb.data(), 0, nullptr))
            return std::unexpected(std::string(image.message));
    }
    bytes.resize(size);
    return bytes;
}

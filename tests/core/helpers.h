#pragma once
// Bytes, random images and files for every test and benchmark, standard C++ only.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/image/defaults.h"
#include "core/image/radio_image.h"

namespace norvik::test {

using Bytes = std::vector<std::uint8_t>;

// "13 60 17 40" -> {0x13, 0x60, 0x17, 0x40}
inline Bytes hex(const std::string& text) {
    std::istringstream in(text);
    Bytes out;
    for (unsigned v; in >> std::hex >> v;)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

inline Bytes bytesAt(const RadioImage& img, int address, int count) {
    Bytes out;
    for (int i = 0; i < count; ++i)
        out.push_back(img.at(address + i));
    return out;
}

inline void setBytes(RadioImage& img, int address, const Bytes& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        img.set(address + static_cast<int>(i), bytes[i]);
}

// The same bytes for the same seed, on every run.
inline Bytes randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes out(count);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(rng());
    return out;
}

// A new file's image: the defaults with the standard band limits.
inline RadioImage defaultsImage() {
    RadioImage img;
    writeNewImageDefaults(img, BandLimits{});
    return img;
}

inline RadioImage randomImage(unsigned seed) {
    const Bytes bytes = randomBytes(kImageSize, seed);
    RadioImage img;
    std::copy(bytes.begin(), bytes.end(), img.bytes().begin());
    return img;
}

// The whole file; empty when it cannot be read.
inline Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline bool writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A name under the temporary folder no other test process picks (ctest runs each test apart).
inline std::filesystem::path uniqueTempPath(const std::string& prefix) {
    std::random_device random;
    return std::filesystem::temp_directory_path() /
           (prefix + std::to_string(random()) + "-" + std::to_string(random()));
}

} // namespace norvik::test

#include <gtest/gtest.h>

#include "core/datafile/data_file.h"
#include "core/helpers.h"
#include "io/image_files.h"
#include "io/path_text.h"

using namespace norvik;
using namespace norvik::io;
namespace fs = std::filesystem;

TEST(ImageFiles, FormatFollowsTheName) {
    const std::pair<const char*, ImageFormat> cases[] = {
        {"a.dat", ImageFormat::DataFile}, {"/x/A.DAT", ImageFormat::DataFile},
        {"a.Dat", ImageFormat::DataFile}, {"a.bin", ImageFormat::Raw},
        {"a", ImageFormat::Raw},          {"a.dat.bin", ImageFormat::Raw},
        {".dat", ImageFormat::Raw}, // a hidden file without an extension
    };
    for (const auto& [name, format] : cases)
        EXPECT_EQ(formatOf(name), format) << name;
}

TEST(ImageFiles, LoadTellsWhatIsWrong) {
    RadioImage image;
    image.set(0x123, 0x45);
    const ByteVector packed = encodeDataFile(image);
    const ByteVector raw(image.bytes().begin(), image.bytes().end());
    struct Case {
        const char* name;
        ByteVector bytes;
        ImageFormat format;
        FileError error;
    } const cases[] = {
        {"data file", packed, ImageFormat::DataFile, FileError::None},
        {"raw image", raw, ImageFormat::Raw, FileError::None},
        {"empty data file", {}, ImageFormat::DataFile, FileError::Empty},
        {"text as a data file", ByteVector(50, 'x'), ImageFormat::DataFile, FileError::NotDataFile},
        {"data file over the cap", ByteVector(kMaxCodecSize + 1, 0), ImageFormat::DataFile, FileError::NotDataFile},
        {"raw image one byte short", ByteVector(raw.begin(), raw.end() - 1), ImageFormat::Raw, FileError::NotRawImage},
        {"raw image one byte long", ByteVector(kImageSize + 1, 0), ImageFormat::Raw, FileError::NotRawImage},
        {"data file given as raw", packed, ImageFormat::Raw, FileError::NotRawImage},
    };
    const fs::path file = test::uniqueTempPath("norvik-image-");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeFile(file, c.bytes);
        const ImageLoad loaded = loadImage(file, c.format);
        EXPECT_EQ(loaded.problem.error, c.error);
        EXPECT_EQ(loaded.image.has_value(), c.error == FileError::None);
        if (loaded.image) {
            EXPECT_TRUE(*loaded.image == image);
        }
    }
    fs::remove(file);
}

TEST(PathText, ShowsUndecodableBytesAsReplacementCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"repeater.dat", "repeater.dat"},
        {"\xE4\xB8\xAD\xE7\xBB\xA7.dat", "\xE4\xB8\xAD\xE7\xBB\xA7.dat"},         // valid UTF-8 stays
        {"\xD6\xD0.dat", "\xEF\xBF\xBD\xEF\xBF\xBD.dat"},                         // GBK bytes
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                                 // overlong "/"
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},                 // a UTF-16 surrogate
        {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // past U+10FFFF
        {"a\xE4\xB8", "a\xEF\xBF\xBD\xEF\xBF\xBD"},                               // cut short
        {"\xF0\x9F\x93\xBB", "\xF0\x9F\x93\xBB"},                                 // four bytes
    };
    for (const auto& [bytes, shown] : cases) {
        EXPECT_EQ(toValidUtf8(bytes), shown) << bytes;
        // Names are bytes here and UTF-16 on Windows; either way a shown name is the name.
        EXPECT_EQ(displayName(pathFromUtf8(shown)), shown);
#ifndef _WIN32
        EXPECT_EQ(displayName(fs::path(bytes)), shown) << bytes;
#endif
    }
}

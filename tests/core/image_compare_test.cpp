#include <gtest/gtest.h>

#include <functional>

#include "core/compare/image_compare.h"
#include "core/image/band_limits.h"
#include "core/image/channel_record.h"
#include "core/options/dtmf_page.h"
#include "core/options/function_setting.h"
#include "helpers.h"

using namespace norvik;

namespace {

constexpr Frequency MHz(double mhz) {
    return static_cast<Frequency>(mhz * kHz10PerMHz + 0.5);
}

// New-image defaults with channel 5 on 145.00000 MHz, transmitting on 145.60000.
RadioImage baseImage() {
    RadioImage image = test::defaultsImage();
    encodeFrequency(image, channelAddress(5) + rec::Rx, MHz(145.0));
    encodeFrequency(image, channelAddress(5) + rec::Tx, MHz(145.6));
    encodeName(image, 5, "");
    return image;
}

struct CompareCase {
    const char* name;
    std::function<void(RadioImage& before, RadioImage& after)> edit;
    std::vector<std::string> lines;
    Language lang = Language::English;
};

const CompareCase kCases[] = {
    {"equal images", [](RadioImage&, RadioImage&) {}, {}},
    // The offset and duplex follow the frequency and are not listed again.
    {"channel frequency",
     [](RadioImage&, RadioImage& after) { encodeFrequency(after, channelAddress(5) + rec::Rx, MHz(146.0)); },
     {"channel 5: RX Freq, 145.00000 \u2192 146.00000"}},
    {"channel frequency in Chinese",
     [](RadioImage&, RadioImage& after) { encodeFrequency(after, channelAddress(5) + rec::Rx, MHz(146.0)); },
     {"信道 5：接收频率，145.00000 \u2192 146.00000"},
     Language::Chinese},
    // A name holding a placeholder is shown as it is.
    {"channel name",
     [](RadioImage&, RadioImage& after) { encodeName(after, 5, "%2"); },
     {"channel 5: CH.Name, (empty) \u2192 %2"}},
    // A byte no column shows is still a difference.
    {"hidden byte of a channel",
     [](RadioImage&, RadioImage& after) { after.set(channelAddress(5) + 15, 0x5A); },
     {"byte 0x005F"}},
    {"list setting",
     [](RadioImage& before, RadioImage& after) {
         for (auto [image, lamp] : {std::pair{&before, 1}, std::pair{&after, 2}}) {
             FunctionSetting s = loadFunctionSetting(*image);
             s.lamp = lamp;
             saveFunctionSetting(s, *image);
         }
     },
     {"Function Setting \u203A Lamp: On \u2192 Auto"}},
    // The page's Save puts valid times where both images hold none: not a difference.
    {"setting of a list of codes",
     [](RadioImage& before, RadioImage& after) {
         for (RadioImage* image : {&before, &after}) {
             DtmfPage page = loadDtmfPage(*image);
             page.autodial[2] = image == &after ? "123" : "";
             saveDtmfPage(page, *image);
             test::setBytes(*image, 0xD21, {0xFF, 0xFF, 0xFF});
         }
     },
     {"DTMF \u203A Fast Call List 3: (empty) \u2192 123"}},
    {"band limits",
     [](RadioImage&, RadioImage& after) {
         BandLimits limits;
         limits.set(1, {400, 480});
         limits.store(after);
     },
     {"Band Limits \u203A Band 2: 400\u2013470 \u2192 400\u2013480"}},
    {"bytes no window shows, in runs",
     [](RadioImage&, RadioImage& after) {
         test::setBytes(after, 0x003, {0x01, 0x02});
         after.set(0x815, 0x33);
     },
     {"bytes 0x0003\u20130x0004", "byte 0x0815"}},
};

class ImageCompare : public ::testing::TestWithParam<CompareCase> {};

} // namespace

TEST_P(ImageCompare, NamesEachDifference) {
    const CompareCase& c = GetParam();
    RadioImage before = baseImage();
    RadioImage after = before;
    c.edit(before, after);
    std::vector<std::string> lines;
    for (const ImageDifference& d : compareImages(before, after, c.lang))
        lines.push_back(differenceText(d, c.lang));
    EXPECT_EQ(lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageCompare, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    std::replace_if(
        name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
});

#include "core/options/named_settings.h"

#include "core/options/common_set.h"
#include "core/options/dtmf_page.h"
#include "core/options/five_tone_page.h"
#include "core/options/function_setting.h"
#include "core/options/msk_page.h"
#include "core/options/ptt_id.h"
#include "core/options/two_tone_page.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

// A field of a page: its caption and the text it shows. A field that repeats (the rows of a code
// list) has `count` entries, told apart by their index.
template <class Page> struct Field {
    std::string (*name)(Language lang, int index);
    int count;
    std::string (*value)(const Page& page, Language lang, int index);
};

template <class T> struct MemberOf;
template <class C, class V> struct MemberOf<V C::*> { using Class = C; };
template <auto M> using PageOf = typename MemberOf<decltype(M)>::Class;

std::string entryText(const std::vector<std::string>& entries, int position) {
    return position >= 0 && position < static_cast<int>(entries.size()) ? entries[static_cast<std::size_t>(position)]
                                                                        : std::to_string(position);
}

template <int Id> std::string caption(Language lang, int) {
    return textString(Id, lang);
}
template <int Id> std::string numbered(Language lang, int index) {
    return textString(Id, lang) + " " + std::to_string(index + 1);
}
template <auto M, OptionList L> std::string listValue(const PageOf<M>& page, Language lang, int) {
    return entryText(listEntries(L, lang), page.*M);
}
template <auto M> std::string checkValue(const PageOf<M>& page, Language lang, int) {
    return textString(page.*M ? ids::On : ids::Off, lang);
}
template <auto M> std::string textValue(const PageOf<M>& page, Language, int) {
    return page.*M;
}
template <auto M> std::string itemValue(const PageOf<M>& page, Language, int index) {
    return (page.*M)[static_cast<std::size_t>(index)];
}

using FS = FunctionSetting;
const Field<FS> kFunctionSetting[] = {
    {caption<ids::SquelchLevel>, 1, listValue<&FS::squelchLevel, OptionList::SquelchLevel>},
    {caption<ids::TimeOutTimer>, 1, listValue<&FS::timeOutTimer, OptionList::TimeOutTimer>},
    {caption<ids::ScanModes>, 1, listValue<&FS::scanMode, OptionList::ScanMode>},
    {caption<ids::Chord>, 1, listValue<&FS::chord, OptionList::OffOn>},
    {caption<ids::BatterySave>, 1, listValue<&FS::batterySave, OptionList::OffOn>},
    {caption<ids::BeepTone>, 1, listValue<&FS::beepTone, OptionList::OffOn>},
    {caption<ids::RogerTime>, 1, listValue<&FS::rogerTone, OptionList::OffOn>},
    {caption<ids::Lamp>, 1, listValue<&FS::lamp, OptionList::Lamp>},
    {caption<ids::ChannelDisplay>, 1, listValue<&FS::channelDisplay, OptionList::ChannelDisplay>},
    {caption<ids::VoxGain>, 1, listValue<&FS::voxLevel, OptionList::VoxLevel>},
    {caption<ids::VoxDelay>, 1, listValue<&FS::voxDelay, OptionList::VoxDelay>},
    {caption<ids::MessageMode>, 1, listValue<&FS::messageMode, OptionList::MessageMode>},
    {caption<ids::PowerOnMessage>, 1, textValue<&FS::powerOnMessage>},
    {caption<ids::CancelCodeSquelchOnPtt>, 1, checkValue<&FS::cancelCodeSquelch>},
    {caption<ids::InhibitReceiverWhenWorking>, 1, checkValue<&FS::inhibitReceiver>},
    {caption<ids::RelayTransfer>, 1, checkValue<&FS::relay>},
    {caption<ids::TotPenalty>, 1, checkValue<&FS::totPenalty>},
    {caption<ids::Manual>, 1, checkValue<&FS::manual>},
    {[](Language lang, int i) { return numbered<ids::Band>(lang, i) + " " + textString(ids::Step, lang); }, 2,
     [](const FS& s, Language lang, int i) {
         return entryText(listEntries(OptionList::BandStep, lang), s.bandStep[static_cast<std::size_t>(i)]);
     }},
};

const Field<PttIdSetting> kPttId[] = {
    {caption<ids::Ani>, 1, checkValue<&PttIdSetting::ani>},
    {caption<ids::SignalType>, 1,
     [](const PttIdSetting& s, Language lang, int) {
         return entryText(listEntries(OptionList::PttIdType, lang), static_cast<int>(s.type));
     }},
    {caption<ids::Bot>, 1, textValue<&PttIdSetting::bot>},
    {caption<ids::Eot>, 1, textValue<&PttIdSetting::eot>},
};

const Field<CommonSet> kCommonSet[] = {
    {caption<ids::SideTone>, 1, checkValue<&CommonSet::sideTone>},
    {caption<ids::DigitDelay>, 1, textValue<&CommonSet::digitDelay>},
    {caption<ids::AutoResetTimer>, 1, textValue<&CommonSet::autoResetTimer>},
};

const Field<DtmfPage> kDtmf[] = {
    {[](Language lang, int i) {
         constexpr int captions[kDtmfTimeCount] = {ids::DigitTime, ids::InterDigitTime, ids::FirstDigitTime};
         return textString(captions[i], lang);
     },
     kDtmfTimeCount, itemValue<&DtmfPage::times>},
    {numbered<ids::FastCallList>, kAutodialCount, itemValue<&DtmfPage::autodial>},
};

// A row of the 2-Tone code list by its number, then the column.
template <int Column, auto M> constexpr Field<TwoTonePage> twoToneCode() {
    return {[](Language lang, int i) { return numbered<ids::Num>(lang, i) + ", " + twoToneGridHeader(Column, lang); },
            kTwoToneCodeCount,
            [](const TwoTonePage& p, Language, int i) { return p.codes[static_cast<std::size_t>(i)].*M; }};
}

const Field<TwoTonePage> kTwoTone[] = {
    {[](Language lang, int i) { return twoToneLabel(i, lang); }, 3, itemValue<&TwoTonePage::tones>},
    {[](Language lang, int i) {
         constexpr int captions[3] = {ids::DecoderCallFormat, ids::GroupCall, ids::AlertTranspond};
         return textString(captions[i], lang);
     },
     3,
     [](const TwoTonePage& p, Language lang, int i) {
         return entryText(twoToneListEntries(i, lang), p.lists[static_cast<std::size_t>(i)]);
     }},
    twoToneCode<1, &TwoToneCode::tone1>(),
    twoToneCode<2, &TwoToneCode::tone2>(),
    twoToneCode<3, &TwoToneCode::gap>(),
};

const Field<FiveTonePage> kFiveTone[] = {
    {[](Language lang, int i) {
         constexpr int captions[3] = {ids::ToneStandard, ids::RespondWaitingTime, ids::FixDigit};
         return textString(captions[i], lang);
     },
     3,
     [](const FiveTonePage& p, Language lang, int i) {
         return entryText(fiveToneListEntries(i, lang), p.lists[static_cast<std::size_t>(i)]);
     }},
    {[](Language, int) { return std::string("ID"); }, 1, textValue<&FiveTonePage::ownId>},
};

const Field<MskPage> kMsk[] = {
    {[](Language lang, int) { return "ID " + textString(ids::Code, lang); }, 1, textValue<&MskPage::ownId>},
    {numbered<ids::CallList>, kMskCallListCount, itemValue<&MskPage::calls>},
};

template <class Page, std::size_t N>
std::vector<NamedSetting> fieldsOf(const Page& page, const Field<Page> (&fields)[N], Language lang) {
    std::vector<NamedSetting> out;
    for (const Field<Page>& f : fields) {
        for (int i = 0; i < f.count; ++i)
            out.push_back({f.name(lang, i), f.value(page, lang, i)});
    }
    return out;
}

// Each page: its title, its fields as an image holds them, and its Save from one image into another.
struct PageSpec {
    int titleId;
    std::vector<NamedSetting> (*settings)(const RadioImage& image, Language lang, char sep);
    void (*copy)(const RadioImage& from, RadioImage& into, Language lang);
};

const PageSpec kPages[kOptionPageCount] = {
    {ids::FunctionSetting,
     [](const RadioImage& image, Language lang, char) {
         return fieldsOf(loadFunctionSetting(image), kFunctionSetting, lang);
     },
     [](const RadioImage& from, RadioImage& into, Language) { saveFunctionSetting(loadFunctionSetting(from), into); }},
    {ids::PttIdSetting,
     [](const RadioImage& image, Language lang, char) { return fieldsOf(loadPttId(image), kPttId, lang); },
     [](const RadioImage& from, RadioImage& into, Language) { savePttId(loadPttId(from), into); }},
    {ids::CommonSet,
     [](const RadioImage& image, Language lang, char) {
         return fieldsOf(loadCommonSet(image, lang), kCommonSet, lang);
     },
     [](const RadioImage& from, RadioImage& into, Language lang) {
         saveCommonSet(loadCommonSet(from, lang), into, lang);
     }},
    {ids::Dtmf, [](const RadioImage& image, Language lang, char) { return fieldsOf(loadDtmfPage(image), kDtmf, lang); },
     [](const RadioImage& from, RadioImage& into, Language) { saveDtmfPage(loadDtmfPage(from), into); }},
    {ids::TwoTone,
     [](const RadioImage& image, Language lang, char sep) {
         return fieldsOf(loadTwoTonePage(image, sep), kTwoTone, lang);
     },
     [](const RadioImage& from, RadioImage& into, Language) { saveTwoTonePage(loadTwoTonePage(from), into); }},
    {ids::FiveTone,
     [](const RadioImage& image, Language lang, char) { return fieldsOf(loadFiveTonePage(image), kFiveTone, lang); },
     [](const RadioImage& from, RadioImage& into, Language) { saveFiveTonePage(loadFiveTonePage(from), into); }},
    {ids::Msk, [](const RadioImage& image, Language lang, char) { return fieldsOf(loadMskPage(image), kMsk, lang); },
     [](const RadioImage& from, RadioImage& into, Language) { saveMskPage(loadMskPage(from), into); }},
};

} // namespace

std::string optionPageTitle(int page, Language lang) {
    return textString(kPages[page].titleId, lang);
}

std::vector<NamedSetting> namedSettings(int page, const RadioImage& image, Language lang, char decimalSeparator) {
    return kPages[page].settings(image, lang, decimalSeparator);
}

void copyOptionPage(int page, const RadioImage& from, RadioImage& into, Language lang) {
    kPages[page].copy(from, into, lang);
}

} // namespace norvik

#include "core/backups/backup_rules.h"

#include <chrono>
#include <cstdio>

#include "core/clone/clone_session.h"
#include "core/clone/port_files.h"
#include "core/image/number_format.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr std::string_view kRadioTag = "radio";
constexpr std::string_view kFileTag = "file";
constexpr std::string_view kUnsavedTag = "unsaved";
constexpr std::string_view kDataExtension = ".dat";

bool allDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

int number(std::string_view digits) {
    int value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

bool validDate(int year, int month, int day) {
    using namespace std::chrono;
    return year_month_day(std::chrono::year(year), std::chrono::month(unsigned(month)), std::chrono::day(unsigned(day)))
        .ok();
}

bool isHex(std::string_view text) {
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return !text.empty();
}

// Characters no file name may hold on any of the systems the program runs on.
bool badInName(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
           c == '>' || c == '|';
}

std::string cleanNamePart(std::string_view text) {
    std::string out;
    for (const char c : text)
        out += badInName(static_cast<unsigned char>(c)) ? '-' : c;
    return out;
}

} // namespace

std::int64_t BackupTime::seconds() const {
    using namespace std::chrono;
    const sys_days days{std::chrono::year(year) / std::chrono::month(unsigned(month)) /
                        std::chrono::day(unsigned(day))};
    return std::int64_t(days.time_since_epoch().count()) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string backupDayFolder(const BackupTime& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
    return text;
}

std::string backupFileName(const BackupName& name) {
    const BackupTime& t = name.time;
    char time[24];
    std::snprintf(time, sizeof time, "%02d%02d%02d", t.hour, t.minute, t.second);
    std::string out = time;
    if (name.sequence > 1)
        out += '-' + std::to_string(name.sequence);
    const BackupOrigin& o = name.origin;
    switch (o.kind) {
    case BackupKind::Radio:
        out += '_' + std::string(kRadioTag) + '_' + o.identification + '_' + cleanNamePart(o.port) +
               std::string(kDataExtension);
        break;
    case BackupKind::FileReplaced:
        out += '_' + std::string(kFileTag) + '_' + cleanNamePart(o.fileName);
        break;
    case BackupKind::UnsavedEdits: {
        // Always a data file, whatever the document was called.
        std::string stem = cleanNamePart(o.fileName);
        if (stem.size() >= kDataExtension.size()) {
            std::string tail = stem.substr(stem.size() - kDataExtension.size());
            for (char& c : tail)
                c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
            if (tail == kDataExtension)
                stem.resize(stem.size() - kDataExtension.size());
        }
        out += '_' + std::string(kUnsavedTag) + '_' + stem + std::string(kDataExtension);
        break;
    }
    }
    return out;
}

std::optional<BackupName> parseBackupName(std::string_view dayFolder, std::string_view fileName) {
    BackupName name;
    // The day: YYYY-MM-DD.
    if (dayFolder.size() != 10 || dayFolder[4] != '-' || dayFolder[7] != '-' || !allDigits(dayFolder.substr(0, 4)) ||
        !allDigits(dayFolder.substr(5, 2)) || !allDigits(dayFolder.substr(8, 2)))
        return std::nullopt;
    BackupTime& t = name.time;
    t.year = number(dayFolder.substr(0, 4));
    t.month = number(dayFolder.substr(5, 2));
    t.day = number(dayFolder.substr(8, 2));
    if (!validDate(t.year, t.month, t.day))
        return std::nullopt;

    // The time: HHMMSS, then -N for a later backup of the same second.
    const std::size_t firstSep = fileName.find('_');
    if (firstSep == std::string_view::npos)
        return std::nullopt;
    std::string_view time = fileName.substr(0, firstSep);
    if (time.size() > 7 && time[6] == '-') {
        const std::string_view seq = time.substr(7);
        if (!allDigits(seq) || seq.size() > 6 || seq.front() == '0' || number(seq) < 2)
            return std::nullopt;
        name.sequence = number(seq);
        time = time.substr(0, 6);
    }
    if (time.size() != 6 || !allDigits(time))
        return std::nullopt;
    t.hour = number(time.substr(0, 2));
    t.minute = number(time.substr(2, 2));
    t.second = number(time.substr(4, 2));
    if (t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;

    std::string_view rest = fileName.substr(firstSep + 1);
    const std::size_t tagEnd = rest.find('_');
    if (tagEnd == std::string_view::npos)
        return std::nullopt;
    const std::string_view tag = rest.substr(0, tagEnd);
    rest = rest.substr(tagEnd + 1);
    if (rest.empty())
        return std::nullopt;
    BackupOrigin& o = name.origin;
    if (tag == kRadioTag) {
        const std::size_t identEnd = rest.find('_');
        if (identEnd == std::string_view::npos || !rest.ends_with(kDataExtension))
            return std::nullopt;
        o.kind = BackupKind::Radio;
        o.identification = std::string(rest.substr(0, identEnd));
        o.port = std::string(rest.substr(identEnd + 1, rest.size() - identEnd - 1 - kDataExtension.size()));
        if (!isHex(o.identification) || o.port.empty())
            return std::nullopt;
    } else if (tag == kFileTag) {
        o.kind = BackupKind::FileReplaced;
        o.fileName = std::string(rest);
    } else if (tag == kUnsavedTag) {
        if (!rest.ends_with(kDataExtension) || rest.size() == kDataExtension.size())
            return std::nullopt;
        o.kind = BackupKind::UnsavedEdits;
        o.fileName = std::string(rest);
    } else {
        return std::nullopt;
    }
    return name;
}

std::string portNamePart(std::string_view device) {
    // The stem a read from several ports names its files with; '_' separates the name's fields
    // before the port, so within it a dash reads the same.
    std::string out = cleanNamePart(portFileStem(device));
    return out.empty() ? std::string("port") : out;
}

std::string identificationHex(const RadioImage& image) {
    const Row row = image.row(clone::kIdentRow);
    return hexText(row, HexCase::Lower);
}

std::string backupOriginText(const BackupOrigin& origin, Language lang) {
    const auto fill = [](std::string text, std::string_view what, std::string_view with) {
        if (const std::size_t at = text.find(what); at != std::string::npos)
            text.replace(at, what.size(), with);
        return text;
    };
    switch (origin.kind) {
    case BackupKind::Radio:
        // The identification first: it is hex, so the port's text is never searched again.
        return fill(fill(std::string(textString(ids::BackupOriginRadio, lang)), "%2", origin.identification), "%1",
                    origin.port);
    case BackupKind::FileReplaced:
        return fill(std::string(textString(ids::BackupOriginFile, lang)), "%1", origin.fileName);
    case BackupKind::UnsavedEdits:
        return fill(std::string(textString(ids::BackupOriginUnsaved, lang)), "%1", origin.fileName);
    }
    return {};
}

std::string backupTimeText(const BackupTime& t) {
    char text[24];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

bool backupExpired(const BackupTime& taken, const BackupTime& now, int days) {
    if (days <= 0)
        return false;
    return now.seconds() - taken.seconds() > std::int64_t(days) * 86400;
}

} // namespace norvik

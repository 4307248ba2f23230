#include "io/file_problem.h"

#include "core/strings/string_ids.h"

namespace norvik::io {

std::string reasonText(const FileProblem& problem, Language lang) {
    switch (problem.error) {
    case FileError::None:
        return {};
    case FileError::System:
        return problem.reason.message();
    case FileError::NotRegular:
        return textString(ids::NotARegularFile, lang);
    case FileError::Empty:
    case FileError::NotDataFile:
    case FileError::NotRawImage:
        return textString(ids::IncorrectFileType, lang);
    }
    return {};
}

} // namespace norvik::io

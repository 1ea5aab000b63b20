#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/FileWriter.h"
#include "model/Message.h"
#include "model/RecordCodec.h"
#include "model/Scenario.h"

namespace finplan {

// Sizes of the scenario file's blocks, in file order.
inline constexpr std::size_t kHeaderBytes = encodedSize<InitialValues>();
inline constexpr std::size_t kEventBytes = encodedSize<FinancialEvent>();

constexpr std::size_t completeFileSize(int eventCount) {
    return 21396 + kEventBytes * static_cast<std::size_t>(eventCount);
}
constexpr std::size_t workingFileSize(int eventCount) {
    return kHeaderBytes + kEventBytes * static_cast<std::size_t>(eventCount) +
           encodedSize<AccountTable>();
}

// The open scenario with the two paths the application keeps: the one shown in the title and
// the one saves go to. A successful load or save-as makes both the same.
struct ScenarioDocument {
    Scenario scenario{};
    std::string openPath;
    std::string savePath;
    bool modified = false;
    bool needsRun = false;
    // Whether the last load found the whole preferences record; the window takes its page and
    // report settings from it only then.
    bool preferencesComplete = false;
};

std::unique_ptr<ScenarioDocument> makeNewDocument();

struct DecodeResult {
    bool valid = false;
    bool preferencesComplete = false;
};

// Applies a scenario file's bytes to `s` with every fallback of a short file. `s` is the
// scenario being replaced: a short file keeps some of its settings, as the format intends.
// An invalid file (short header, events or account block; a count that does not fit its
// table) returns valid = false and leaves `s` half-read.
DecodeResult decodeScenario(std::span<const std::uint8_t> bytes, Scenario& s);

// Blocks 1 to 14 with the header's event count taken from the live count.
std::vector<std::uint8_t> encodeScenario(const Scenario& s);
// The working file of a new scenario: header, events and account block only.
std::vector<std::uint8_t> encodeWorkingFile(const Scenario& s);

// The first bytes of a file, up to `limit`; false when it cannot be opened as a regular file.
bool readFilePrefix(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes);
// The whole of `bytes` as the file `path`, or nothing: a failure keeps the old file.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Loads `path` into the document. A file that cannot be opened changes nothing and fails with
// kMessageCannotOpen (start-up shows nothing for it); an invalid one fails with
// kMessageInvalidFile, the scenario is reset and both paths become "tmp01.ret".
Status loadScenario(ScenarioDocument& doc, const std::string& path);

// Writes the scenario to the save path. The caller first copies the window's mirrored state
// (window width, page and report settings, view setting) into the scenario.
Status saveScenario(ScenarioDocument& doc);
// Asks the notifier before it overwrites a file; No fails with kMessageDeclined.
Status saveScenarioAs(ScenarioDocument& doc, const std::string& path, Notifier& notifier);

// The path of a new scenario's working file, "temp<n>1.ret" in `directory`, where n is the
// whole part of the settings file's first value.
std::string workingFilePath(const std::string& directory, float settingsFirstValue);
Status createWorkingFile(ScenarioDocument& doc, const std::string& path);

} // namespace finplan

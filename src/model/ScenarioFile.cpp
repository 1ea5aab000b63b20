#include "model/ScenarioFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "model/RecordCodec.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

namespace fs = std::filesystem;

const char* const kInvalidFileText = " doesn't seem to be a valid Vantrel Financial Planner file.";
const char* const kInvalidFallbackPath = "tmp01.ret";

// Reads the file's blocks in order; a block may arrive short at the end of the file.
class BlockReader {
  public:
    explicit BlockReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    template <class T> std::size_t read(T& record) { return decodeBlock(m_bytes, m_pos, record); }

  private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

template <class T> void append(std::vector<std::uint8_t>& out, const T& record) {
    encodeRecord(record, out);
}

template <class T> void zero(T& record) {
    record = T{};
}

// Step 1 of a load: the blocks that a short file may not reach start from zero.
void clearLoadedBlocks(Scenario& s) {
    zero(s.events[0]);
    zero(s.slots);
    clearBudgets(s);
    zero(s.dividends);
    zero(s.assetClasses);
    zero(s.allocations);
}

void appendHead(std::vector<std::uint8_t>& out, const Scenario& s) {
    const int count = std::clamp(s.eventCount, 0, kEventSlots);
    InitialValues header = s.initialValues;
    header.eventCount = static_cast<std::int16_t>(count);
    append(out, header);
    for (int k = 0; k < count; ++k)
        append(out, s.events[k]);
    append(out, s.accountTable);
}

void resetAfterInvalid(ScenarioDocument& doc) {
    clearLoadedBlocks(doc.scenario);
    resetScenario(doc.scenario);
    doc.openPath = doc.savePath = kInvalidFallbackPath;
}

} // namespace

std::unique_ptr<ScenarioDocument> makeNewDocument() {
    auto doc = std::make_unique<ScenarioDocument>();
    newScenario(doc->scenario);
    return doc;
}

DecodeResult decodeScenario(std::span<const std::uint8_t> bytes, Scenario& s) {
    DecodeResult result;
    BlockReader in(bytes);

    clearLoadedBlocks(s);
    resetScenario(s);

    if (in.read(s.initialValues) < encodedSize<InitialValues>())
        return result;
    const int eventCount = s.initialValues.eventCount;
    if (eventCount < 0 || eventCount > kEventSlots)
        return result;
    for (int k = 0; k < eventCount; ++k) {
        if (in.read(s.events[k]) < encodedSize<FinancialEvent>())
            return result;
    }
    if (in.read(s.accountTable) < encodedSize<AccountTable>())
        return result;
    if (s.accountTable.accountCount < 0 || s.accountTable.accountCount > kMaxAccounts)
        return result;

    in.read(s.groups);

    if (in.read(s.reportTitles) < encodedSize<ReportTitles>()) {
        zero(s.reportTitles.title1);
        zero(s.reportTitles.title2);
        zero(s.reportTitles.title3);
        s.reportTitles.useTitle1 = s.reportTitles.useTitle2 = s.reportTitles.useTitle3 = 0;
        applySlotDefaults(s);
    }
    if (in.read(s.slots) < encodedSize<SlotSettings>())
        applySlotDefaults(s);
    repairSlots(s);

    for (FontRecord& font : s.fonts)
        in.read(font);
    result.preferencesComplete = in.read(s.preferences) == encodedSize<Preferences>();

    if (in.read(s.budgets) > encodedSize<Budget>() - 1) {
        for (int n = 0; n < kBudgets; ++n) {
            if (s.budgets[n].name.empty())
                s.budgets[n].name.assign("Budget " + std::to_string(n + 1));
        }
    }
    for (const Budget& b : s.budgets) {
        if (b.itemCount < 0 || b.itemCount > kBudgetItems)
            return result;
    }

    if (in.read(s.dividends) < encodedSize<DividendBlock>()) {
        for (int k = 0; k < kSlots; ++k) {
            s.dividends.dividendRate[k] = 0;
            s.dividends.dividendTaxable[k] = 100;
            s.dividends.dividendAccount[k] = -1;
        }
    }
    if (in.read(s.assetClasses) < encodedSize<AssetClassBlock>())
        zero(s.assetClasses);
    if (in.read(s.allocations) < encodedSize<AllocationBlock>())
        zero(s.allocations);

    GroupsBlock& g = s.groups;
    for (int k = 0; k < kGroups; ++k) {
        // Written so that a NaN also fails the range check.
        if (!(g.randomMinRate[k] >= -50 && g.randomMinRate[k] <= 100))
            g.randomMinRate[k] = 0;
        if (!(g.randomMaxRate[k] >= -50 && g.randomMaxRate[k] <= 100))
            g.randomMaxRate[k] = 0;
        if (g.randomMinRate[k] > g.randomMaxRate[k])
            g.randomMinRate[k] = g.randomMaxRate[k] = 0;
    }
    if (g.randomDistribution == 0)
        g.w0 = std::clamp<std::int16_t>(g.w0, 0, 10);
    if (g.randomDistribution == 2)
        g.w2 = std::clamp<std::int16_t>(g.w2, 0, 10);

    s.eventCount = eventCount;
    result.valid = true;
    return result;
}

std::vector<std::uint8_t> encodeScenario(const Scenario& s) {
    std::vector<std::uint8_t> out;
    out.reserve(completeFileSize(kEventSlots));
    appendHead(out, s);
    append(out, s.groups);
    append(out, s.reportTitles);
    append(out, s.slots);
    append(out, s.fonts);
    append(out, s.preferences);
    append(out, s.budgets);
    append(out, s.dividends);
    append(out, s.assetClasses);
    append(out, s.allocations);
    return out;
}

std::vector<std::uint8_t> encodeWorkingFile(const Scenario& s) {
    std::vector<std::uint8_t> out;
    appendHead(out, s);
    return out;
}

bool readFilePrefix(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.resize(limit);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    return writeWholeFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                                 bytes.size())) == WriteOutcome::Written;
}

Status loadScenario(ScenarioDocument& doc, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!readFilePrefix(path, completeFileSize(kEventSlots), bytes))
        return Message{"Cannot open " + path + "!", "FILE ERROR", MessageKind::Error,
                       kMessageCannotOpen};

    // Decoded into a copy so that the open scenario stays whole until the file proves valid.
    auto loaded = std::make_unique<Scenario>(doc.scenario);
    const DecodeResult result = decodeScenario(bytes, *loaded);
    if (!result.valid) {
        resetAfterInvalid(doc);
        return Message{path + kInvalidFileText, "FILE WARNING", MessageKind::Error,
                       kMessageInvalidFile};
    }
    doc.scenario = *loaded;
    doc.openPath = doc.savePath = path;
    doc.preferencesComplete = result.preferencesComplete;
    doc.modified = false;
    doc.needsRun = true;
    return {};
}

Status saveScenario(ScenarioDocument& doc) {
    // The file takes its count from the live one; the scenario's copy follows only once saved,
    // so that a failed save leaves the scenario as it was.
    if (!writeFileAtomically(doc.savePath, encodeScenario(doc.scenario)))
        return Status::error("Cannot open file!", "FILE ERROR");
    doc.scenario.initialValues.eventCount =
        static_cast<std::int16_t>(std::clamp(doc.scenario.eventCount, 0, kEventSlots));
    doc.modified = false;
    return {};
}

Status saveScenarioAs(ScenarioDocument& doc, const std::string& path, Notifier& notifier) {
    std::error_code ec;
    const bool existed = fs::exists(path, ec);
    if (existed) {
        if (!notifier.confirm(
                {path + " exits - Overwrite anyway?", "FILE WARNING", MessageKind::Question}))
            return Message{"", "", MessageKind::Information, kMessageDeclined};
        std::ofstream probe(path, std::ios::binary | std::ios::app);
        if (!probe || !fs::is_regular_file(path, ec))
            return Status::error("Cannot open " + path + "!", "FILE ERROR");
    } else {
        std::ofstream create(path, std::ios::binary);
        if (!create)
            return Status::error("Cannot open file!", "FILE ERROR");
    }
    const std::string previousSavePath = doc.savePath;
    doc.savePath = path;
    if (Status saved = saveScenario(doc); !saved) {
        doc.savePath = previousSavePath;
        if (!existed)
            fs::remove(path, ec);
        return saved;
    }
    doc.openPath = path;
    return {};
}

std::string workingFilePath(const std::string& directory, float settingsFirstValue) {
    // A damaged settings file may hold anything: the number is held to what a name can carry.
    const int n =
        std::isfinite(settingsFirstValue) ? wholeNumber(settingsFirstValue, -999999, 999999, 0) : 0;
    const std::string name = "temp" + std::to_string(n) + "1.ret";
    return (fs::path(directory) / name).string();
}

Status createWorkingFile(ScenarioDocument& doc, const std::string& path) {
    std::error_code ec;
    const bool existed = fs::exists(path, ec);
    if (!writeFileAtomically(path, encodeWorkingFile(doc.scenario)))
        return Status::error(existed ? "Cannot open " + path + "!" : "Cannot open temporary file!",
                             "FILE ERROR");
    doc.openPath = doc.savePath = path;
    return {};
}

} // namespace finplan

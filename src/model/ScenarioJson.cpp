#include "model/ScenarioJson.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <istream>
#include <limits>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/RecordCodec.h"

namespace finplan {

std::string latin1ToUtf8(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

namespace {

using nlohmann::json;

// Characters outside Latin-1, and malformed UTF-8, become '?'.
std::string utf8ToLatin1(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += text[i++];
            continue;
        }
        const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        std::uint32_t code = length == 2 ? (b & 0x1Fu) : length == 3 ? (b & 0x0Fu) : (b & 0x07u);
        bool ok = length > 1 && i + length <= text.size();
        for (std::size_t k = 1; ok && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            ok = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        out += ok && code <= 0xFF ? static_cast<char>(code) : '?';
        i += ok ? length : 1;
    }
    return out;
}

// A fault of the JSON form, naming the place in the document ("events[2].startAge: ...");
// the public functions turn it into their failure.
class ScenarioJsonError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw ScenarioJsonError(where + ": " + what);
}

std::string member(const std::string& where, std::string_view name) {
    return where.empty() ? std::string(name) : where + "." + std::string(name);
}

std::string element(const std::string& where, std::size_t i) {
    return where + "[" + std::to_string(i) + "]";
}

// A misspelt key would otherwise leave its field at the default without a word.
template <class IsKnown>
void rejectUnknownKeys(const json& object, const std::string& where, IsKnown isKnown) {
    for (const auto& [key, value] : object.items())
        if (!isKnown(std::string_view(key)))
            fail(member(where, key), "unknown key");
}

void rejectUnknownKeys(const json& object, const std::string& where,
                       std::initializer_list<std::string_view> known) {
    rejectUnknownKeys(object, where, [&](std::string_view key) {
        return std::find(known.begin(), known.end(), key) != known.end();
    });
}

// --- any field: numbers, texts, arrays and described records --------------------------------

template <class T> json toJson(const T& field);

struct JsonWriter {
    json& out;
    template <class T> void operator()(const char* name, const T& field) {
        if (name)
            out[name] = toJson(field);
    }
};

template <class T> json toJson(const T& field) {
    if constexpr (std::is_same_v<T, float>) {
        if (!std::isfinite(field))
            return nullptr;
        // The shortest text that reads back as the same float, so 0.1f shows as 0.1.
        char text[32];
        const char* end = std::to_chars(text, text + sizeof text, field).ptr;
        double value = 0;
        std::from_chars(text, end, value);
        return value;
    } else if constexpr (std::is_integral_v<T>) {
        return static_cast<std::int64_t>(field);
    } else if constexpr (codec::IsFixedText<T>::value) {
        return latin1ToUtf8(field.view());
    } else if constexpr (codec::isArray<T>) {
        json out = json::array();
        for (const auto& e : field)
            out.push_back(toJson(e));
        return out;
    } else {
        json out = json::object();
        describe(field, JsonWriter{out});
        return out;
    }
}

template <class T> void fromJson(const json& value, T& field, const std::string& where);

struct JsonReader {
    const json& object;
    const std::string& where;
    template <class T> void operator()(const char* name, T& field) {
        if (!name)
            return;
        const auto it = object.find(name);
        if (it != object.end())
            fromJson(*it, field, member(where, name));
    }
};

void requireObject(const json& value, const std::string& where) {
    if (!value.is_object())
        fail(where.empty() ? "scenario" : where, "expected an object");
}

const json& requireArray(const json& value, std::size_t capacity, const std::string& where) {
    if (!value.is_array())
        fail(where, "expected an array");
    if (value.size() > capacity)
        fail(where, "more than " + std::to_string(capacity) + " entries");
    return value;
}

template <class T> void fromJson(const json& value, T& field, const std::string& where) {
    if constexpr (std::is_same_v<T, float>) {
        if (value.is_null()) {
            field = std::numeric_limits<float>::quiet_NaN();
            return;
        }
        if (!value.is_number())
            fail(where, "expected a number");
        const double number = value.get<double>();
        // The dump writes a float's shortest text, which may read as a double a little above
        // the largest float ("3.4028235e+38"); it still rounds to that float. Only a number
        // half a step beyond it would round to infinity.
        constexpr double kLargest = static_cast<double>(std::numeric_limits<float>::max()) +
                                    0x1p103; // half the spacing of floats at the top
        if (!(std::abs(number) < kLargest))
            fail(where, "number too large");
        field = static_cast<float>(number);
    } else if constexpr (std::is_integral_v<T>) {
        if (!value.is_number_integer())
            fail(where, "expected a whole number");
        // Numbers above the largest signed 64-bit value are kept unsigned by the parser.
        const bool fits = value.is_number_unsigned() ? std::in_range<T>(value.get<std::uint64_t>())
                                                     : std::in_range<T>(value.get<std::int64_t>());
        if (!fits)
            fail(where, "number out of range");
        field = static_cast<T>(value.get<std::int64_t>());
    } else if constexpr (codec::IsFixedText<T>::value) {
        if (!value.is_string())
            fail(where, "expected a text");
        const std::string text = utf8ToLatin1(value.get<std::string>());
        // A file may fill a text's field without a terminator, and must build again from its dump.
        if (text.size() > T::capacity)
            fail(where, "longer than " + std::to_string(T::capacity) + " characters");
        field.assignWhole(text);
    } else if constexpr (codec::isArray<T>) {
        const json& entries = requireArray(value, codec::ArrayLength<T>::value, where);
        for (std::size_t i = 0; i < entries.size(); ++i)
            fromJson(entries[i], field[i], element(where, i));
    } else {
        requireObject(value, where);
        rejectUnknownKeys(value, where, [&field](std::string_view key) {
            bool known = false;
            describe(field, [&](const char* name, const auto&) {
                known = known || (name && key == name);
            });
            return known;
        });
        describe(field, JsonReader{value, where});
    }
}

// Reads `key` of `object` into `field` when present.
template <class T>
void readKey(const json& object, const char* key, T& field, const std::string& where) {
    JsonReader{object, where}(key, field);
}

// Calls apply(entry, index, where) for each entry of the array under `key`.
template <class Apply>
void forEachEntry(const json& object, const char* key, std::size_t capacity, Apply apply) {
    const auto it = object.find(key);
    if (it == object.end())
        return;
    const json& entries = requireArray(*it, capacity, key);
    for (std::size_t i = 0; i < entries.size(); ++i)
        apply(entries[i], static_cast<int>(i), element(key, i));
}

// --- the blocks whose JSON shape differs from their file layout -------------------------------

json budgetToJson(const Budget& b) {
    json items = json::array();
    for (int i = 0; i < std::clamp<int>(b.itemCount, 0, kBudgetItems); ++i)
        items.push_back({{"itemName", toJson(b.itemName[i])},
                         {"itemYearly", toJson(b.itemYearly[i])},
                         {"itemAmount", toJson(b.itemAmount[i])},
                         {"itemWorking", toJson(b.itemWorking[i])},
                         {"itemRate", toJson(b.itemRate[i])},
                         {"itemMonthly", toJson(b.itemMonthly[i])},
                         {"itemInflation", toJson(b.itemInflation[i])},
                         {"itemTrack", toJson(b.itemTrack[i])}});
    return {{"name", toJson(b.name)},
            {"itemCount", toJson(b.itemCount)},
            {"startAge", toJson(b.startAge)},
            {"endAge", toJson(b.endAge)},
            {"items", items},
            {"yearlyTotal", toJson(b.yearlyTotal)},
            {"active", toJson(b.active)},
            {"todaysDollars", toJson(b.todaysDollars)},
            {"account", toJson(b.account)}};
}

void budgetFromJson(const json& j, Budget& b, const std::string& where) {
    requireObject(j, where);
    rejectUnknownKeys(j, where,
                      {"name", "itemCount", "startAge", "endAge", "items", "yearlyTotal", "active",
                       "todaysDollars", "account"});
    // The count follows from the items; a given one is only checked.
    std::int16_t itemCount = 0;
    readKey(j, "itemCount", itemCount, where);
    for (const char* key :
         {"name", "startAge", "endAge", "yearlyTotal", "active", "todaysDollars", "account"}) {
        describe(b, [&](const char* name, auto& field) {
            if (name && std::string_view(name) == key)
                readKey(j, key, field, where);
        });
    }
    // The items given are the budget's items.
    forEachEntry(j, "items", kBudgetItems, [&](const json& item, int i, const std::string& at) {
        const std::string place = member(where, at);
        requireObject(item, place);
        rejectUnknownKeys(item, place,
                          {"itemName", "itemYearly", "itemAmount", "itemWorking", "itemRate",
                           "itemMonthly", "itemInflation", "itemTrack"});
        readKey(item, "itemName", b.itemName[i], place);
        readKey(item, "itemYearly", b.itemYearly[i], place);
        readKey(item, "itemAmount", b.itemAmount[i], place);
        readKey(item, "itemWorking", b.itemWorking[i], place);
        readKey(item, "itemRate", b.itemRate[i], place);
        readKey(item, "itemMonthly", b.itemMonthly[i], place);
        readKey(item, "itemInflation", b.itemInflation[i], place);
        readKey(item, "itemTrack", b.itemTrack[i], place);
        b.itemCount = static_cast<std::int16_t>(i + 1);
    });
}

json slotToJson(const Scenario& s, int k) {
    json allocation = json::array();
    for (const auto& perClass : s.allocations.allocation)
        allocation.push_back(toJson(perClass[k]));
    const SlotSettings& t = s.slots;
    return {{"penaltyAge", toJson(t.penaltyAge[k])},
            {"penaltyRate", toJson(t.penaltyRate[k])},
            {"drawCount", toJson(t.drawCount[k])},
            {"slotStatus", toJson(t.slotStatus[k])},
            {"firstPenaltyAge", toJson(t.firstPenaltyAge[k])},
            {"rmdCode", toJson(t.rmdCode[k])},
            {"randomDeviation", toJson(t.randomDeviation[k])},
            {"slotAux", toJson(t.slotAux[k])},
            {"dividendRate", toJson(s.dividends.dividendRate[k])},
            {"dividendTaxable", toJson(s.dividends.dividendTaxable[k])},
            {"dividendAccount", toJson(s.dividends.dividendAccount[k])},
            {"allocation", allocation}};
}

void slotFromJson(const json& j, Scenario& s, int k, const std::string& where) {
    requireObject(j, where);
    rejectUnknownKeys(j, where,
                      {"penaltyAge", "penaltyRate", "drawCount", "slotStatus", "firstPenaltyAge",
                       "rmdCode", "randomDeviation", "slotAux", "dividendRate", "dividendTaxable",
                       "dividendAccount", "allocation"});
    SlotSettings& t = s.slots;
    readKey(j, "penaltyAge", t.penaltyAge[k], where);
    readKey(j, "penaltyRate", t.penaltyRate[k], where);
    readKey(j, "drawCount", t.drawCount[k], where);
    readKey(j, "slotStatus", t.slotStatus[k], where);
    readKey(j, "firstPenaltyAge", t.firstPenaltyAge[k], where);
    readKey(j, "rmdCode", t.rmdCode[k], where);
    readKey(j, "randomDeviation", t.randomDeviation[k], where);
    readKey(j, "slotAux", t.slotAux[k], where);
    readKey(j, "dividendRate", s.dividends.dividendRate[k], where);
    readKey(j, "dividendTaxable", s.dividends.dividendTaxable[k], where);
    readKey(j, "dividendAccount", s.dividends.dividendAccount[k], where);
    forEachEntry(j, "allocation", kAssetClasses,
                 [&](const json& share, int c, const std::string& at) {
                     fromJson(share, s.allocations.allocation[c][k], member(where, at));
                 });
}

} // namespace

Result<json> parseScenarioJson(std::istream& in) {
    // The path to the value being read, kept up to date from the parser's events.
    struct Level {
        bool array;
        std::size_t index = 0;
        std::string key;
    };
    std::vector<Level> levels;
    auto track = [&levels](int, json::parse_event_t event, json& parsed) {
        using Event = json::parse_event_t;
        if (event == Event::object_start || event == Event::array_start)
            levels.push_back({event == Event::array_start, 0, {}});
        else if (event == Event::key)
            levels.back().key = parsed.get<std::string>();
        if (event == Event::object_end || event == Event::array_end)
            levels.pop_back();
        if ((event == Event::value || event == Event::object_end || event == Event::array_end) &&
            !levels.empty() && levels.back().array)
            ++levels.back().index;
        return true;
    };
    try {
        return json::parse(in, track);
    } catch (const json::exception& e) {
        std::string where;
        for (const Level& level : levels)
            where = level.array         ? element(where, level.index)
                    : level.key.empty() ? where
                                        : member(where, level.key);
        // The library's own "[json.exception.…] " tag says nothing to the user.
        std::string what = e.what();
        what.erase(0, what.find("] ") == std::string::npos ? 0 : what.find("] ") + 2);
        if (e.id / 100 == 1)
            what = "not valid JSON: " + what;
        return Status::error((where.empty() ? "scenario" : where) + ": " + what, "FILE ERROR");
    }
}

json scenarioToJson(const Scenario& s) {
    json out;
    out["initialValues"] = toJson(s.initialValues);

    json events = json::array();
    for (int i = 0; i < std::clamp(s.eventCount, 0, kEventSlots); ++i)
        events.push_back(toJson(s.events[i]));
    out["events"] = events;

    const AccountTable& t = s.accountTable;
    json accounts = json::array();
    for (int k = 0; k < std::clamp<int>(t.accountCount, 0, kMaxAccounts); ++k)
        accounts.push_back(toJson(t.accounts[k]));
    out["accounts"] = accounts;
    json table = toJson(t);
    table.erase("accounts");
    out["accountTable"] = table;

    const GroupsBlock& g = s.groups;
    json groups = json::array();
    for (int k = 0; k < kGroups; ++k)
        groups.push_back({{"name", toJson(g.name[k])},
                          {"randomMinRate", toJson(g.randomMinRate[k])},
                          {"randomMaxRate", toJson(g.randomMaxRate[k])}});
    out["groups"] = groups;
    json settings = toJson(g);
    for (const char* key : {"name", "randomMinRate", "randomMaxRate"})
        settings.erase(key);
    out["groupSettings"] = settings;

    out["reportTitles"] = toJson(s.reportTitles);

    json slots = json::array();
    for (int k = 0; k < kSlots; ++k)
        slots.push_back(slotToJson(s, k));
    out["slots"] = slots;

    json tables = json::array();
    for (int k = 0; k < kLifeTables; ++k)
        tables.push_back({{"description", toJson(s.slots.lifeTableDescription[k])},
                          {"startAge", toJson(lifeTableStartAge(s.slots, k))},
                          {"values", toJson(s.slots.lifeTableValues[k])}});
    out["lifeExpectancyTables"] = tables;
    out["rmdSettings"] = {{"rmdPenaltyRate", toJson(s.slots.rmdPenaltyRate)},
                          {"rmdAccount", toJson(s.slots.rmdAccount)},
                          {"rmdAmount", toJson(s.slots.rmdAmount)}};

    json budgets = json::array();
    for (const Budget& b : s.budgets)
        budgets.push_back(budgetToJson(b));
    out["budgets"] = budgets;
    out["assetClasses"] = toJson(s.assetClasses.name);
    out["fonts"] = toJson(s.fonts);
    out["preferences"] = toJson(s.preferences);
    return out;
}

namespace {

void readScenarioJson(const json& j, Scenario& s) {
    requireObject(j, "");
    rejectUnknownKeys(j, "",
                      {"initialValues", "events", "accounts", "accountTable", "groups",
                       "groupSettings", "reportTitles", "slots", "lifeExpectancyTables",
                       "rmdSettings", "budgets", "assetClasses", "fonts", "preferences"});
    readKey(j, "initialValues", s.initialValues, "");

    // As many events as a file holds; the editors keep the last slot free for themselves.
    forEachEntry(j, "events", kEventSlots, [&](const json& e, int i, const std::string& at) {
        resetEventSlot(s.events[i]);
        fromJson(e, s.events[i], at);
        s.eventCount = i + 1;
    });
    s.initialValues.eventCount = static_cast<std::int16_t>(s.eventCount);

    AccountTable& t = s.accountTable;
    forEachEntry(j, "accounts", kMaxAccounts, [&](const json& a, int k, const std::string& at) {
        fromJson(a, t.accounts[k], at);
        t.accountCount = static_cast<std::int16_t>(k + 1);
    });
    if (const auto it = j.find("accountTable"); it != j.end()) {
        requireObject(*it, "accountTable");
        rejectUnknownKeys(*it, "accountTable",
                          {"accountCount", "nextAccountId", "assetAllocationMinimum",
                           "assetAllocationStartAge", "rmdMode", "assetAllocationMode"});
        // The count follows from the accounts; a given one is only checked.
        std::int16_t accountCount = 0;
        readKey(*it, "accountCount", accountCount, "accountTable");
        readKey(*it, "nextAccountId", t.nextAccountId, "accountTable");
        readKey(*it, "assetAllocationMinimum", t.assetAllocationMinimum, "accountTable");
        readKey(*it, "assetAllocationStartAge", t.assetAllocationStartAge, "accountTable");
        readKey(*it, "rmdMode", t.rmdMode, "accountTable");
        readKey(*it, "assetAllocationMode", t.assetAllocationMode, "accountTable");
    }

    GroupsBlock& g = s.groups;
    forEachEntry(j, "groups", kGroups, [&](const json& e, int k, const std::string& at) {
        requireObject(e, at);
        rejectUnknownKeys(e, at, {"name", "randomMinRate", "randomMaxRate"});
        readKey(e, "name", g.name[k], at);
        readKey(e, "randomMinRate", g.randomMinRate[k], at);
        readKey(e, "randomMaxRate", g.randomMaxRate[k], at);
    });
    if (const auto it = j.find("groupSettings"); it != j.end()) {
        requireObject(*it, "groupSettings");
        rejectUnknownKeys(*it, "groupSettings", {"viewSetting", "randomDistribution", "w0", "w2"});
        for (const char* key : {"viewSetting", "randomDistribution", "w0", "w2"})
            describe(g, [&](const char* name, auto& field) {
                if (name && std::string_view(name) == key)
                    readKey(*it, key, field, "groupSettings");
            });
    }

    readKey(j, "reportTitles", s.reportTitles, "");
    forEachEntry(j, "slots", kSlots,
                 [&](const json& e, int k, const std::string& at) { slotFromJson(e, s, k, at); });
    forEachEntry(j, "lifeExpectancyTables", kLifeTables,
                 [&](const json& e, int k, const std::string& at) {
                     requireObject(e, at);
                     rejectUnknownKeys(e, at, {"description", "startAge", "values"});
                     readKey(e, "description", s.slots.lifeTableDescription[k], at);
                     std::int32_t startAge = lifeTableStartAge(s.slots, k);
                     readKey(e, "startAge", startAge, at);
                     setLifeTableStartAge(s.slots, k, startAge);
                     readKey(e, "values", s.slots.lifeTableValues[k], at);
                 });
    if (const auto it = j.find("rmdSettings"); it != j.end()) {
        requireObject(*it, "rmdSettings");
        rejectUnknownKeys(*it, "rmdSettings", {"rmdPenaltyRate", "rmdAccount", "rmdAmount"});
        readKey(*it, "rmdPenaltyRate", s.slots.rmdPenaltyRate, "rmdSettings");
        readKey(*it, "rmdAccount", s.slots.rmdAccount, "rmdSettings");
        readKey(*it, "rmdAmount", s.slots.rmdAmount, "rmdSettings");
    }
    forEachEntry(j, "budgets", kBudgets, [&](const json& e, int n, const std::string& at) {
        budgetFromJson(e, s.budgets[n], at);
    });
    readKey(j, "assetClasses", s.assetClasses.name, "");
    readKey(j, "fonts", s.fonts, "");
    readKey(j, "preferences", s.preferences, "");
}

} // namespace

Status scenarioFromJson(const json& j, Scenario& s) {
    try {
        readScenarioJson(j, s);
        return {};
    } catch (const std::exception& e) { // ours, or the library's own
        return Status::error(e.what(), "FILE ERROR");
    }
}

} // namespace finplan

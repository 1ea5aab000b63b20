#include "forms/AccountImport.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "forms/AccountForm.h"
#include "forms/AccountsList.h"
#include "forms/Latin1Text.h"
#include "model/Scenario.h"
#include "model/TextFormat.h"
#include "model/TextNumbers.h"

namespace finplan {

namespace {

constexpr std::size_t kShortestLine = 7;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Letters and digits; bytes past ASCII count as letters, so accented names keep their ends.
bool isLetterOrDigit(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || std::isalnum(u) != 0;
}

// UTF-16 with a byte-order mark, as UTF-8; unpaired surrogates become '?'.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<unsigned>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < bytes.size()) {
            const unsigned low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (code >= 0xD800 && code <= 0xDFFF)
            code = '?';
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// The file's text as UTF-8, whatever it was written in.
std::string decodeText(const std::string& bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return utf16ToUtf8(bytes, false);
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
        return utf16ToUtf8(bytes, true);
    std::string_view text = bytes;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return isUtf8(text) ? std::string(text) : latin1AsUtf8(text);
}

// The lines of the text without their line ends.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// Fields between delimiters; a field in double quotes may hold the delimiter ("1,234.56"),
// and a doubled quote inside stands for one.
std::vector<std::string> splitFields(std::string_view line, char delimiter) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == delimiter) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The readers of the lines: the filters, and the create and update steps after them.
enum class Reader { Filter, Create, Update };

// Why a line is no account line: totals, liabilities, net worth and column headings.
std::string skipReason(std::string_view line, Reader reader) {
    if (reader != Reader::Create && utf8Length(line) < kShortestLine)
        return "shorter than 7 characters";
    const struct {
        const char* word;
        bool create, update;
    } words[] = {{"LIABILI", true, true},
                 {"Liabili", false, false},
                 {"Net Wor", false, false},
                 {"Total", false, true},
                 {"TOTAL", true, true}};
    for (const auto& w : words) {
        const bool looked = reader == Reader::Filter || (reader == Reader::Create && w.create) ||
                            (reader == Reader::Update && w.update);
        if (looked && line.find(w.word) != std::string_view::npos)
            return formatText("holds \"%s\"", w.word);
    }
    for (std::size_t at = line.find("Balance"); at != std::string_view::npos;
         at = line.find("Balance", at + 1))
        if (at + 7 >= line.size() || line[at + 7] != 'd')
            return "holds \"Balance\"";
    return {};
}

std::string amountReason(const std::string& cleaned, std::size_t shortest) {
    if (cleaned.empty())
        return "the amount is not a plain number";
    return formatText("the amount has fewer than %d characters", static_cast<int>(shortest));
}

Result<std::vector<ImportLine>> filterFile(const std::string& path, const std::string& workDir,
                                           char delimiter, const char* tempName) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Message{formatText("Cannot open %s.", path), "File Open Error", MessageKind::Error,
                       kMessageCannotOpen};
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string tempPath = (std::filesystem::path(workDir) / tempName).string();
    std::ofstream out(tempPath, std::ios::binary | std::ios::trunc);
    if (!out)
        return Message{formatText("Cannot open %s", tempName), "File Open Error",
                       MessageKind::Error, kMessageCannotOpen};

    std::vector<ImportLine> lines;
    int number = 0;
    for (const std::string& text : splitLines(decodeText(bytes))) {
        ImportLine line;
        line.number = ++number;
        line.text = text;
        line.skipped = skipReason(text, Reader::Filter);
        const std::vector<std::string> fields = splitFields(text, delimiter);
        if (line.used() && fields.size() < 2)
            line.skipped = delimiter == '\t' ? "no tab between a name and an amount"
                                             : "no comma between a name and an amount";
        if (line.used()) {
            const std::string_view name = utf8Prefix(fields.front(), kAccountNameChars);
            std::string amount = fields.back();
            cleanAmount(amount);
            const std::optional<std::string> stored = utf8ToLatin1Strict(name);
            if (utf8Length(name) < 2)
                line.skipped = "the name is shorter than 2 characters";
            else if (!stored)
                line.skipped = "the name holds characters a scenario cannot store";
            else if (amount.size() < 2)
                line.skipped = amountReason(amount, 2);
            else {
                line.name = *stored;
                line.amount = amount;
                out << line.name << '\t' << line.amount << '\n';
            }
        }
        lines.push_back(std::move(line));
    }
    out.close();
    if (!out)
        return Message{formatText("Cannot open %s", tempName), "File Open Error",
                       MessageKind::Error, kMessageCannotOpen};
    return lines;
}

Account importedAccount(const std::string& name, const std::string& amount, int position) {
    Account a{};
    a.name.assign(name);
    a.initialAmount = a.balance = static_cast<float>(leadingNumber(amount));
    a.initialRate = a.rate = 10;
    a.type = kInvestmentSavings;
    a.randomMinRate = 0;
    a.randomMaxRate = 20;
    a.penaltyFlag = 0;
    a.accessOrder.assign(formatText("%d", position));
    return a;
}

int accountCount(const Scenario& s) {
    return std::clamp<int>(s.accountTable.accountCount, 0, kMaxAccounts);
}

// Step 5 of a create: the account of a used line, through the dialog. False when the table is
// full, which ends the import.
bool addImportedAccount(Scenario& s, const ImportLine& line, Notifier& notifier,
                        const EditImportedAccount& edit) {
    if (accountCount(s) >= kMaxAccounts) {
        notifier.notify({"Number of accounts exceed limit.", "Account Error", MessageKind::Error});
        notifier.notify({line.text, "Account Warning", MessageKind::Warning});
        return false;
    }
    const Account a = importedAccount(line.name, line.amount, accountCount(s));
    const Result<int> position = beginNewAccount(s, &a);
    if (!position)
        return false;
    const int slot = s.accountTable.accounts[*position].slotId;
    if (slot >= 0 && slot < kSlots && s.slots.slotStatus[slot] == kSlotInAllocation)
        s.slots.slotStatus[slot] = kSlotInUse;
    edit(s, *position);
    return true;
}

} // namespace

void cleanAmount(std::string& text) {
    std::erase(text, ',');
    const auto open = text.find('(');
    if (open != std::string::npos && text.find(')', open) != std::string::npos) {
        std::erase(text, '(');
        std::erase(text, ')');
        text.insert(0, "-");
    }
    text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
    while (!text.empty() && !isDigit(text.back()) && text.back() != '-')
        text.pop_back();
    for (const char c : text)
        if (!isDigit(c) && c != '-' && c != ',' && c != '.') {
            text.clear();
            return;
        }
}

void cleanName(std::string& text) {
    if (!text.empty() && text.front() == '"')
        text.front() = ' ';
    if (!text.empty() && text.back() == '"')
        text.back() = ' ';
    while (!text.empty() && !isLetterOrDigit(text.back()))
        text.pop_back();
    text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
}

int ImportPlan::usedCount() const {
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [](const ImportLine& l) { return l.used(); }));
}

Result<std::vector<ImportLine>> filterTabFile(const std::string& path, const std::string& workDir) {
    return filterFile(path, workDir, '\t', "tabout.tmp");
}

Result<std::vector<ImportLine>> filterCsvFile(const std::string& path, const std::string& workDir) {
    return filterFile(path, workDir, ',', "csvout.tmp");
}

Result<ImportPlan> planAccountImport(const std::string& path, bool isCsv, ImportUse use,
                                     const std::string& workDir) {
    Result<std::vector<ImportLine>> filtered =
        isCsv ? filterCsvFile(path, workDir) : filterTabFile(path, workDir);
    if (!filtered)
        return filtered.message();
    ImportPlan plan{path, isCsv, use, std::move(filtered.value())};

    // The account steps read what the filter wrote, with rules of their own.
    const bool create = use == ImportUse::Create;
    const char* tempName = isCsv ? "csvout.tmp" : "tabout.tmp";
    std::ifstream in(std::filesystem::path(workDir) / tempName, std::ios::binary);
    if (!in)
        return Message{formatText(create ? "Cannot open %s file." : "Cannot open the %s file.",
                                  isCsv ? "Csvout.tmp" : "Tabout.tmp"),
                       "File Open Error", MessageKind::Error, kMessageCannotOpen};
    const std::size_t shortestAmount = create ? 3 : 2;
    const std::size_t longestName = create ? kAccountNameChars : 30;
    auto next = plan.lines.begin();
    for (std::string text; std::getline(in, text);) {
        next = std::find_if(next, plan.lines.end(), [](const ImportLine& l) { return l.used(); });
        if (next == plan.lines.end())
            break;
        ImportLine& line = *next++;
        const auto tab = text.rfind('\t');
        std::string name = text.substr(0, tab == std::string::npos ? text.size() : tab);
        std::string amount = tab == std::string::npos ? std::string() : text.substr(tab + 1);
        cleanName(name);
        cleanAmount(amount);
        name = name.substr(0, longestName);
        line.skipped = skipReason(latin1AsUtf8(text), create ? Reader::Create : Reader::Update);
        if (line.used() && name.size() < 2)
            line.skipped = "the name is shorter than 2 characters";
        else if (line.used() && amount.size() < shortestAmount)
            line.skipped = amountReason(amount, shortestAmount);
        line.name = line.used() ? name : std::string();
        line.amount = line.used() ? amount : std::string();
    }
    return plan;
}

void startNewAccounts(Scenario& s) {
    newScenario(s);
    s.dividends = DividendBlock{};
    s.allocations = AllocationBlock{};
}

void createAccountsFromFile(Scenario& s, const ImportPlan& plan, Notifier& notifier,
                            const EditImportedAccount& edit) {
    for (const ImportLine& line : plan.lines)
        if (line.used() && !addImportedAccount(s, line, notifier, edit))
            return;
}

bool updateAccountsFromFile(Scenario& s, const ImportPlan& plan, Notifier& notifier,
                            const EditImportedAccount& edit) {
    const auto matches = [&s](const std::string& name) {
        int found = 0;
        for (int k = 0; k < accountCount(s); ++k)
            if (s.accountTable.accounts[k].name.view() == name)
                ++found;
        return found;
    };
    int found = 0;
    for (const ImportLine& line : plan.lines)
        if (line.used())
            found += matches(line.name);
    found = std::min(found, accountCount(s));
    if (found == 0) {
        notifier.notify({formatText("Found 0 accounts in the file %s.\nPlease make sure this is "
                                    "the correct delimited file type.",
                                    plan.path),
                         "Possible incorrect file type.", MessageKind::Warning});
        return false;
    }
    if (!notifier.confirm({formatText("Updating %d out of %d accounts.\nDo you wish to continue?",
                                      found, accountCount(s)),
                           "Updating Accounts", MessageKind::Question}))
        return false;

    for (const ImportLine& line : plan.lines) {
        if (!line.used())
            continue;
        bool matched = false;
        for (int k = 0; k < accountCount(s); ++k) {
            Account& a = s.accountTable.accounts[k];
            if (a.name.view() == line.name) {
                a.initialAmount = static_cast<float>(leadingNumber(line.amount));
                matched = true;
            }
        }
        if (matched)
            continue;
        const Message question{
            formatText("Account %s is not an existing account.\nDo you wish to add it?",
                       latin1AsUtf8(line.name)),
            "New Account Found", MessageKind::Question};
        if (notifier.confirm(question) && !addImportedAccount(s, line, notifier, edit))
            break;
    }

    // Of two accounts with the same name the first goes, unless events still need it.
    const std::vector<int> order = accountsListOrder(s, AccountsListState{});
    std::vector<int> doomed;
    for (std::size_t k = 0; k + 1 < order.size(); ++k)
        if (s.accountTable.accounts[order[k]].name.view() ==
            s.accountTable.accounts[order[k + 1]].name.view())
            doomed.push_back(order[k]);
    std::sort(doomed.rbegin(), doomed.rend());
    for (const int position : doomed)
        for (const Message& m : deleteAccount(s, position).messages)
            notifier.notify(m);
    return true;
}

} // namespace finplan

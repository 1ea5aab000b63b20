#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>

#include "model/FileWriter.h"

namespace finplan::test {

// The regular files of a folder and their bytes.
using FolderContents = std::map<std::string, std::string>;

inline FolderContents contentsOf(const std::filesystem::path& folder) {
    FolderContents files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[entry.path().filename().string()] = bytes.str();
    }
    return files;
}

// The `step`-th step of writing fails while this lives.
class FailingWrites {
  public:
    explicit FailingWrites(int step) : m_step(step) { armWriteFailure(step); }
    ~FailingWrites() { armWriteFailure(0); }
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

    // Whether the writes went as far as the failing step.
    bool reached() const { return writeStepsTaken() >= m_step; }

  private:
    int m_step;
};

// Calls attempt(step) for step = 1, 2, 3, ... until the write it makes with that step failing
// succeeds; gives the number of failed attempts. An attempt sets up its files, writes within a
// FailingWrites(step), checks what a failure left, and returns whether the write succeeded.
inline int forEachFailingStep(const std::function<bool(int step)>& attempt) {
    for (int step = 1; step <= 500; ++step)
        if (attempt(step))
            return step - 1;
    ADD_FAILURE() << "the write never succeeded";
    return -1;
}

// After a failed write, each file of the folder is the one that was there before or the whole
// one a successful write makes; a working file may also be gone. No temporary file is left.
inline void expectOldOrWhole(const FolderContents& before, const FolderContents& whole,
                             const FolderContents& after, const std::string& label) {
    for (const auto& [name, bytes] : after) {
        EXPECT_FALSE(name.ends_with(".saving")) << label << ": " << name << " left behind";
        const auto old = before.find(name), made = whole.find(name);
        const bool isOld = old != before.end() && old->second == bytes;
        const bool isWhole = made != whole.end() && made->second == bytes;
        EXPECT_TRUE(isOld || isWhole)
            << label << ": " << name << " is neither old nor whole (" << bytes.size() << " bytes)";
    }
}

} // namespace finplan::test

#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

// Every file the planner writes goes through FileWriter, so that a full disk or a failed close
// never leaves a half-written file where a whole one is expected, and so that tests can make
// any step of any write fail.

namespace finplan {

// What a failure leaves where the file was to go. A file the user named keeps its old content;
// a working file that a later step reads back goes, so that nothing stale is read in its place.
enum class OnFailure { KeepOld, Remove };

// How a write ended: callers have one message for a file that cannot be created and another
// for one that cannot be written whole.
enum class WriteOutcome { Written, CannotOpen, CannotWrite };

// A file written whole or not at all: the bytes go to a temporary file beside the target, which
// takes the target's place only once it is complete and closed. Every write, close and rename
// is checked; a writer given up or destroyed before finish() leaves no temporary file. A file
// kept on failure (one the user keeps) is synced to the disk before the rename. A link is
// followed; a device or pipe is written as it is.
class FileWriter {
  public:
    explicit FileWriter(OnFailure onFailure = OnFailure::KeepOld) : m_onFailure(onFailure) {}
    ~FileWriter() { abandon(); }
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Creates the temporary file for `path`; false when it cannot be created.
    bool open(const std::string& path);
    bool open(const std::string& path, OnFailure onFailure) {
        abandon();
        m_onFailure = onFailure;
        return open(path);
    }
    bool isOpen() const { return m_file != nullptr; }
    // A failed write is kept for finish() to report.
    void write(std::string_view bytes);
    void write(std::span<const std::uint8_t> bytes) {
        write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    // Closes the temporary file and renames it over the target.
    WriteOutcome finish();
    // Gives the file up as a failure does.
    void abandon();

  private:
    void dropTemporary();
    void dropTarget();

    std::FILE* m_file = nullptr;
    std::string m_given; // the path as the caller named it
    std::string m_path;
    std::string m_temporary;
    OnFailure m_onFailure;
    bool m_failed = false;
    bool m_direct = false; // a device or pipe, written without a temporary file
};

// The whole of `bytes` as the file `path`.
WriteOutcome writeWholeFile(const std::string& path, std::string_view bytes,
                            OnFailure onFailure = OnFailure::KeepOld);

// Removes a file or link, never a folder or device; a missing one is no failure.
void removeFile(const std::string& path);

// For tests: from now on the `step`-th step of writing fails as a full disk or a failed close
// would. Creating a temporary file, each block written, each close and each rename is a step;
// 0 lets every step succeed. writeStepsTaken() counts the steps since the last call.
void armWriteFailure(int step);
int writeStepsTaken();
// The file whose step failed, as the writer named it, and whether that step was creating it.
struct FailedWriteStep {
    std::string path;
    bool creating = false;
};
FailedWriteStep failedWriteStep();

} // namespace finplan

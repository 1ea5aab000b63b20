#include "model/FileWriter.h"

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace finplan {

namespace {

namespace fs = std::filesystem;

// Written a block at a time, as the disk takes it, so that a failure can strike within a file.
constexpr std::size_t kBlockBytes = 4096;

std::atomic<int> failingStep{0};
std::atomic<int> stepsTaken{0};
// Set only when a step fails, so only ever in tests.
FailedWriteStep failedStep;

// False for the step the tests chose to fail.
bool stepSucceeds(const std::string& path, bool creating = false) {
    const int step = ++stepsTaken;
    const int failing = failingStep.load();
    if (failing == 0 || step != failing)
        return true;
    failedStep = {path, creating};
    return false;
}

// The rename itself reaches the disk with its folder. Best effort: the file is whole either way.
void syncFolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void removeFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (fs::is_regular_file(status) || fs::is_symlink(status))
        fs::remove(path, ec);
}

void armWriteFailure(int step) {
    failingStep = step;
    stepsTaken = 0;
    failedStep = {};
}

FailedWriteStep failedWriteStep() {
    return failedStep;
}

int writeStepsTaken() {
    return stepsTaken.load();
}

bool FileWriter::open(const std::string& path) {
    abandon();
    m_failed = false;
    m_given = path;
    // A link is followed, so that the file it names is replaced and the link stays.
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    m_path = path;
    if (fs::exists(status) && fs::is_symlink(fs::symlink_status(path, ec))) {
        const fs::path linked = fs::canonical(path, ec);
        if (!ec)
            m_path = linked.string();
    }
    // A device or pipe is written as it is: it cannot be replaced, nor written in part.
    m_direct = fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
    m_temporary = m_direct ? m_path : m_path + ".saving";
    // A folder in the way cannot be written over, as a file opened in its place could not be.
    const bool folder = fs::is_directory(status);
    m_file = stepSucceeds(path, true) && !folder ? std::fopen(m_temporary.c_str(), "wb") : nullptr;
    if (m_file)
        return true;
    dropTarget();
    return false;
}

void FileWriter::write(std::string_view bytes) {
    while (m_file && !m_failed && !bytes.empty()) {
        const std::size_t block = std::min(bytes.size(), kBlockBytes);
        if (stepSucceeds(m_given)) {
            m_failed = std::fwrite(bytes.data(), 1, block, m_file) != block;
        } else {
            // A full disk takes part of a block before it refuses the rest.
            (void)std::fwrite(bytes.data(), 1, block / 2, m_file);
            m_failed = true;
        }
        bytes.remove_prefix(block);
    }
}

WriteOutcome FileWriter::finish() {
    if (!m_file)
        return WriteOutcome::CannotOpen;
    // A file the user keeps reaches the disk before it replaces the old one, so that a crash
    // of the machine leaves the old file or the new, never an empty one. Working files skip it:
    // they are written on every run and rebuilt by the next.
    const bool synced = m_onFailure != OnFailure::KeepOld || m_direct ||
                        (std::fflush(m_file) == 0 && ::fsync(::fileno(m_file)) == 0);
    const bool closed =
        std::fclose(std::exchange(m_file, nullptr)) == 0 && synced && stepSucceeds(m_given);
    if (m_failed || !closed) {
        dropTemporary();
        dropTarget();
        return WriteOutcome::CannotWrite;
    }
    if (m_direct)
        return WriteOutcome::Written;
    std::error_code ec;
    if (fs::exists(m_path, ec))
        fs::permissions(m_temporary, fs::status(m_path, ec).permissions(), ec);
    ec.clear();
    if (stepSucceeds(m_given))
        fs::rename(m_temporary, m_path, ec);
    else
        ec = std::make_error_code(std::errc::no_space_on_device);
    if (ec) {
        dropTemporary();
        dropTarget();
        return WriteOutcome::CannotWrite;
    }
    if (m_onFailure == OnFailure::KeepOld)
        syncFolderOf(m_path);
    return WriteOutcome::Written;
}

void FileWriter::abandon() {
    if (!m_file)
        return;
    std::fclose(std::exchange(m_file, nullptr));
    dropTemporary();
    dropTarget();
}

void FileWriter::dropTemporary() {
    if (!m_direct)
        removeFile(m_temporary);
}

void FileWriter::dropTarget() {
    if (m_onFailure == OnFailure::Remove && !m_direct)
        removeFile(m_path);
}

WriteOutcome writeWholeFile(const std::string& path, std::string_view bytes, OnFailure onFailure) {
    FileWriter file(onFailure);
    if (!file.open(path))
        return WriteOutcome::CannotOpen;
    file.write(bytes);
    return file.finish();
}

} // namespace finplan

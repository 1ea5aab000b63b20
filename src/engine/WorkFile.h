#pragma once

#include <string>
#include <string_view>

#include "model/FileWriter.h"
#include "model/Message.h"
#include "model/TextFormat.h"

namespace finplan {

// A text file a run writes: created when the run opens it, filled in memory, and written out
// whole when the run closes it. A file that could not be created swallows what is written to
// it. A working file that fails goes; the results file the user named keeps its old content.
class WorkFile {
  public:
    WorkFile() = default;
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;
    ~WorkFile() { (void)close(); }

    bool open(const std::string& path, OnFailure onFailure = OnFailure::Remove);
    bool isOpen() const { return m_file.isOpen(); }

    void write(std::string_view text) {
        if (isOpen())
            m_buffer.append(text);
    }
    template <class... Args> void printf(const char* format, const Args&... args) {
        if (isOpen())
            m_buffer += formatText(format, args...);
    }
    // "%5.1f\t%s\t%13.2f\n": the detail line of the incoming and outgoing files.
    void detailLine(float age, std::string_view name, float amount);
    template <class Text> void detailLine(float age, const Text& name, float amount) {
        if (isOpen()) // the name is only looked at when the line is written
            detailLine(age, name.view(), amount);
    }
    // "%5.1f\t%s\t%d\t%13.2f\n": the event detail file's line (no category when it is negative).
    void eventLine(float age, std::string_view name, int category, float amount);
    // Writes the file out; a full disk or a failed close is a failure naming the file.
    Status close();
    // Drops the file unwritten, as for a run that failed.
    void abandon();

  private:
    FileWriter m_file;
    std::string m_path;
    std::string m_buffer;
};

} // namespace finplan

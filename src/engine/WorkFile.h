#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "model/Message.h"
#include "model/TextFormat.h"

namespace finplan {

// A text file a run writes: created when the run opens it, filled in memory, and written out
// when the run closes it. A file that could not be created swallows what is written to it.
class WorkFile {
  public:
    WorkFile() = default;
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;
    ~WorkFile() { (void)close(); }

    bool open(const std::string& path);
    bool isOpen() const { return m_file != nullptr; }

    void write(std::string_view text) {
        if (m_file)
            m_buffer.append(text);
    }
    template <class... Args> void printf(const char* format, const Args&... args) {
        if (m_file)
            m_buffer += formatText(format, args...);
    }
    // "%5.1f\t%s\t%13.2f\n": the detail line of the incoming and outgoing files.
    void detailLine(float age, std::string_view name, float amount);
    template <class Text> void detailLine(float age, const Text& name, float amount) {
        if (m_file) // the name is only looked at when the line is written
            detailLine(age, name.view(), amount);
    }
    // "%5.1f\t%s\t%d\t%13.2f\n": the event detail file's line (no category when it is negative).
    void eventLine(float age, std::string_view name, int category, float amount);
    // Writes the file out; a full disk or a failed close is a failure naming the file.
    Status close();

  private:
    std::FILE* m_file = nullptr;
    std::string m_path;
    std::string m_buffer;
};

} // namespace finplan

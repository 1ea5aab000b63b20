#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace finplan {

// A text file a run writes: created when the run opens it, filled in memory, and written out
// when the run closes it. A file that could not be created swallows what is written to it.
class WorkFile {
  public:
    WorkFile() = default;
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;
    ~WorkFile() { close(); }

    bool open(const std::string& path);
    bool isOpen() const { return m_file != nullptr; }

    void write(std::string_view text) {
        if (m_file)
            m_buffer.append(text);
    }
    [[gnu::format(printf, 2, 3)]] void printf(const char* format, ...);
    // "%5.1f\t%s\t%13.2f\n": the detail line of the incoming and outgoing files.
    void detailLine(float age, std::string_view name, float amount);
    template <class Text> void detailLine(float age, const Text& name, float amount) {
        if (m_file) // the name is only looked at when the line is written
            detailLine(age, name.view(), amount);
    }
    // "%5.1f\t%s\t%d\t%13.2f\n": the event detail file's line (no category when it is negative).
    void eventLine(float age, std::string_view name, int category, float amount);
    void close();

  private:
    std::FILE* m_file = nullptr;
    std::string m_buffer;
};

} // namespace finplan

#include "engine/WorkFile.h"

#include <cstdarg>

#include "engine/Format.h"

namespace finplan {

bool WorkFile::open(const std::string& path) {
    close();
    m_file = std::fopen(path.c_str(), "wb");
    m_buffer.clear();
    return m_file != nullptr;
}

void WorkFile::printf(const char* format, ...) {
    if (!m_file)
        return;
    char text[512];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof text) {
        m_buffer.append(text, static_cast<std::size_t>(n));
    } else if (n > 0) {
        const std::size_t at = m_buffer.size();
        m_buffer.resize(at + static_cast<std::size_t>(n) + 1);
        std::vsnprintf(m_buffer.data() + at, static_cast<std::size_t>(n) + 1, format, again);
        m_buffer.resize(at + static_cast<std::size_t>(n));
    }
    va_end(again);
}

void WorkFile::detailLine(float age, std::string_view name, float amount) {
    eventLine(age, name, -1, amount);
}

void WorkFile::eventLine(float age, std::string_view name, int category, float amount) {
    if (!m_file)
        return;
    appendFixed(m_buffer, age, 1, 5);
    m_buffer += '\t';
    m_buffer.append(name);
    m_buffer += '\t';
    if (category >= 0) {
        m_buffer += std::to_string(category);
        m_buffer += '\t';
    }
    appendFixed(m_buffer, amount, 2, 13);
    m_buffer += '\n';
}

void WorkFile::close() {
    if (!m_file)
        return;
    std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file);
    std::fclose(m_file);
    m_file = nullptr;
    m_buffer.clear();
}

} // namespace finplan

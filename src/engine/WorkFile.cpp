#include "engine/WorkFile.h"

#include "engine/Format.h"

namespace finplan {

bool WorkFile::open(const std::string& path) {
    (void)close();
    m_file = std::fopen(path.c_str(), "wb");
    m_path = path;
    m_buffer.clear();
    return m_file != nullptr;
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

Status WorkFile::close() {
    if (!m_file)
        return {};
    const bool written =
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) == m_buffer.size();
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    m_buffer.clear();
    if (written && closed)
        return {};
    return Status::error("Cannot write " + m_path + "!\nThe disk may be full.", "FILE ERROR");
}

} // namespace finplan

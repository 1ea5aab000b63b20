#include "engine/WorkFile.h"

#include "engine/Format.h"

namespace finplan {

bool WorkFile::open(const std::string& path, OnFailure onFailure) {
    (void)close();
    m_path = path;
    m_buffer.clear();
    return m_file.open(path, onFailure);
}

void WorkFile::detailLine(float age, std::string_view name, float amount) {
    eventLine(age, name, -1, amount);
}

void WorkFile::eventLine(float age, std::string_view name, int category, float amount) {
    if (!isOpen())
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
    if (!isOpen())
        return {};
    m_file.write(m_buffer);
    m_buffer.clear();
    if (m_file.finish() == WriteOutcome::Written)
        return {};
    return Status::error("Cannot write " + m_path + "!\nThe disk may be full.", "FILE ERROR");
}

void WorkFile::abandon() {
    m_file.abandon();
    m_buffer.clear();
}

} // namespace finplan

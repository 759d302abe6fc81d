#pragma once

#include <QString>

#include <cstdlib>
#include <string>

namespace zg::test {

/// Sets an environment variable for its lifetime and restores the old value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
            m_hadOld = true;
        }
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (m_hadOld) {
            setenv(m_name.c_str(), m_old.c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_hadOld = false;
};

/// Writes a standard MIDI file holding one short piano note (0.1 s) to `path`.
void writeShortMidi(const QString& path);

} // namespace zg::test

#pragma once
// Sets or clears an environment variable of this process (and so of the children it starts) for
// the life of the object.
#include <cstdlib>
#include <string>

namespace endtoend {

// Sets `name`, or removes it when value is null.
inline void setEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    // An empty value removes the variable, from the C runtime's copy and the system's alike.
    ::_putenv_s(name, value ? value : "");
#else
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
#endif
}

class EnvironmentChange {
public:
    EnvironmentChange(const char* name, const char* value) : variable(name) {
        if (const char* old = std::getenv(name)) saved = old, hadValue = true;
        setEnvironment(name, value);
    }
    ~EnvironmentChange() { setEnvironment(variable, hadValue ? saved.c_str() : nullptr); }
    EnvironmentChange(const EnvironmentChange&) = delete;
    EnvironmentChange& operator=(const EnvironmentChange&) = delete;

private:
    const char* variable;
    std::string saved;
    bool hadValue = false;
};

} // namespace endtoend

#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace corvid::test {

/// Sets (or, with a null value, removes) one environment variable for one
/// scope, and puts back what was there before.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char *variable, const QByteArray &value)
        : m_variable(variable)
        , m_wasSet(qEnvironmentVariableIsSet(variable))
        , m_previous(qgetenv(variable))
    {
        if (value.isNull())
            qunsetenv(variable);
        else
            qputenv(variable, value);
    }
    ~ScopedEnvironment()
    {
        if (m_wasSet)
            qputenv(m_variable, m_previous);
        else
            qunsetenv(m_variable);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *m_variable;
    bool m_wasSet;
    QByteArray m_previous;
};

} // namespace corvid::test

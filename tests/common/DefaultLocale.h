#pragma once

#include <QLocale>

namespace corvid::test {

/// Sets the user's locale for one test and puts the previous one back.
class DefaultLocale
{
public:
    explicit DefaultLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_previous); }
    DefaultLocale(const DefaultLocale &) = delete;
    DefaultLocale &operator=(const DefaultLocale &) = delete;

private:
    QLocale m_previous;
};

} // namespace corvid::test

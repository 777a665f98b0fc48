#pragma once

#include <type_traits>

namespace tessera::dialogs {

// How a setter takes its value: numbers, flags and pointers by value, the
// rest by const reference (matches the declarations in the public headers).
template <typename T> using In = std::conditional_t<std::is_scalar_v<T>, T, const T &>;

} // namespace tessera::dialogs

// Defines the getter Name() and the setter setName() of a plain property of
// Class kept in d->member; the dialogs read these when they are shown.
#define TESSERA_DIALOG_PROPERTY(Class, Type, Name, member)                                                             \
    Type Class::Name() const                                                                                           \
    {                                                                                                                  \
        return d->member;                                                                                              \
    }                                                                                                                  \
    void Class::set##Name(tessera::dialogs::In<Type> value)                                                            \
    {                                                                                                                  \
        d->member = value;                                                                                             \
    }

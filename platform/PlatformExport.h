#pragma once

// The platform layer is a static library linked whole into
// libcorvidsupport0100.so and exported from there. Every binary of the suite
// therefore shares one copy of its state (open hives, the message-box seam)
// and one identity for its exception types, which must be visible for a throw
// in one shared object to be caught in another.
#define TESSERA_PLATFORM_EXPORT __attribute__((visibility("default")))

// Symbol visibility of the two shared libraries. Everything is hidden by default; the public
// API (and the internal units that companion libraries use) is marked with these macros.
#pragma once

#if defined(QORVI_TEXT_BUILDING)
#define QORVI_API __attribute__((visibility("default")))
#else
#define QORVI_API
#endif

#if defined(QORVI_RTAUX_BUILDING)
#define QORVI_AUX_API __attribute__((visibility("default")))
#else
#define QORVI_AUX_API
#endif

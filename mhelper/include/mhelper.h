#pragma once

// The morphology library's C interface. Narrow text is UTF-8, except on Windows,
// where it is the calling thread's ANSI code page.
#include <stdint.h>

#if defined(_WIN32) && defined(MHELPER_BUILDING)
#define MHELPER_API __declspec(dllexport)
#elif defined(_WIN32)
#define MHELPER_API __declspec(dllimport)
#else
#define MHELPER_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Opens the dictionary at dataPath and returns a handle for CalcStem. A missing or
// unusable dictionary still yields a handle that stems with the suffix rules alone.
// Returns 0 only when no handle can be made at all.
MHELPER_API uint32_t OpenMorphology(const char* dataPath);

// Writes the stem of the NUL-terminated word into out, NUL-terminated and cut at a
// character boundary to fit *size bytes plus the terminator (out must hold *size + 1
// bytes; a null size means 99). Sets *size to the stem's length in bytes. Returns 1
// when the handle stems with its dictionary, 0 when with the suffix rules alone, -1
// for a bad handle or word (out then holds an empty string). Callers may pass an
// empty word to learn whether the dictionary is in use.
MHELPER_API int32_t CalcStem(uint32_t handle, const char* word, char* out, int32_t* size);

// Closes a handle. Unknown or already closed handles are ignored. Returns 1 when a
// handle was closed.
MHELPER_API int32_t CloseMorphology(uint32_t handle);

#ifdef __cplusplus
}
#endif

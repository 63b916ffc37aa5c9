// The three exported entry points. Everything else in the library is hidden.
#include "mhelper.h"

#include "Morphology.h"
#include "NarrowText.h"
#include "WordText.h"

#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace {

using mhelper::Morphology;

constexpr uint32_t kSlotBits = 6;
constexpr uint32_t kSlotCount = 1u << kSlotBits;
constexpr int32_t kDefaultSize = 99;

// A handle is a slot index in its low bits and a generation above them, so a handle
// that was closed (or never issued) does not reach a later occupant of its slot.
// CalcStem counts itself in as a reader instead of locking; CloseMorphology clears the
// handle and waits for the readers to leave before it frees the morphology.
struct Slot
{
    std::atomic<uint32_t> handle{0};
    std::atomic<int32_t> readers{0};
    Morphology* morphology = nullptr; // written only while no reader can see the slot
};

struct ReaderGuard
{
    explicit ReaderGuard(Slot& s) : slot(s) { slot.readers.fetch_add(1); }
    ~ReaderGuard() { slot.readers.fetch_sub(1); }
    Slot& slot;
};

std::array<Slot, kSlotCount> g_slots;
std::mutex g_openLock; // serialises opening and closing
uint32_t g_generation = 0;

int32_t Capacity(const int32_t* size)
{
    if (!size)
        return kDefaultSize;
    return *size > 0 ? *size : 0;
}

int32_t Finish(char* out, int32_t* size, size_t len)
{
    out[len] = '\0';
    if (size)
        *size = int32_t(len);
    return 0;
}

} // namespace

extern "C" MHELPER_API uint32_t OpenMorphology(const char* dataPath)
{
    try {
        const std::string path = dataPath ? std::string(dataPath) : std::string();
        auto morphology = std::make_unique<Morphology>(path);
        std::lock_guard guard(g_openLock);
        for (uint32_t i = 0; i < kSlotCount; ++i) {
            Slot& slot = g_slots[i];
            if (slot.morphology)
                continue;
            g_generation = (g_generation + 1) & ((1u << (32 - kSlotBits)) - 1);
            if (g_generation == 0)
                g_generation = 1;
            const uint32_t handle = (g_generation << kSlotBits) | i;
            slot.morphology = morphology.release();
            slot.handle.store(handle);
            return handle;
        }
    } catch (...) {
    }
    return 0;
}

extern "C" MHELPER_API int32_t CalcStem(uint32_t handle, const char* word, char* out, int32_t* size)
{
    if (!out)
        return -1;
    const int32_t cap = Capacity(size);
    out[0] = '\0';
    if (size)
        *size = 0;
    if (handle == 0 || !word)
        return -1;
    try {
        Slot& slot = g_slots[handle & (kSlotCount - 1)];
        ReaderGuard reader(slot);
        if (slot.handle.load() != handle)
            return -1;
        const Morphology& m = *slot.morphology;
        const int32_t result = m.hasDictionary() ? 1 : 0;
        if (mhelper::NarrowIsUtf8()) {
            // The stem goes straight into the caller's buffer.
            const size_t len = m.Stem(std::string_view(word), out, size_t(cap));
            Finish(out, size, len);
            return result;
        }
        char stem[Morphology::kMaxWordBytes];
        const size_t len = m.Stem(mhelper::NarrowToUtf8(word), stem, sizeof stem);
        const std::string narrow = mhelper::Utf8ToNarrow(std::string_view(stem, len));
        const size_t n = narrow.size() < size_t(cap) ? narrow.size() : size_t(cap);
        std::memcpy(out, narrow.data(), n);
        Finish(out, size, n);
        return result;
    } catch (...) {
        out[0] = '\0';
        if (size)
            *size = 0;
        return -1;
    }
}

extern "C" MHELPER_API int32_t CloseMorphology(uint32_t handle)
{
    if (handle == 0)
        return 0;
    try {
        std::lock_guard guard(g_openLock);
        Slot& slot = g_slots[handle & (kSlotCount - 1)];
        if (slot.handle.load() != handle)
            return 0;
        slot.handle.store(0);
        while (slot.readers.load() != 0)
            std::this_thread::yield();
        delete slot.morphology;
        slot.morphology = nullptr;
        return 1;
    } catch (...) {
        return 0;
    }
}

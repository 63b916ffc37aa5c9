#include "LibreOfficeAutomation.h"

#include <exception>

// The module's one export. Returns null instead of throwing, and for a caller built
// against other interfaces.
extern "C" __attribute__((visibility("default"))) WordAutomation*
parafrix_lo_create_automation(int interfaceVersion, const LibreOfficeOptions* options)
{
    if (interfaceVersion != LibreOfficeOptions::InterfaceVersion || !options)
        return nullptr;
    try {
        return new LibreOfficeAutomation(*options);
    } catch (...) {
        return nullptr;
    }
}

// Fuzz target: an ini file of any content, read, and written with one key that must read back.
#include "platform/Profile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    volatile std::size_t sink = 0;
    for (const char* section : {"PATHS", "PROCHART", "config", "Filter", "ZoltW"})
        for (const char* key : {"EquityPath", "PATHNAME", "mktclose", "Page", "Top"})
            sink = sink + platform::ReadProfileText(text, section, key, "?").size();
    std::string written = platform::WriteProfileText(text, "ZoltW", "LastDataFile", "26120410.vds");
    if (platform::ReadProfileText(written, "ZoltW", "LastDataFile", "") != "26120410.vds")
        std::abort();
    // A second write of the same key changes that line only.
    if (platform::WriteProfileText(written, "ZoltW", "LastDataFile", "26120410.vds") != written)
        std::abort();
    return 0;
}

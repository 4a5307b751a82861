// Executables: read, configured with a launcher's resources, laid out, and read back; what the
// tool would write must read back as exactly what was meant.
#include <cstdint>

#include "configure/resources/executable_metadata.h"
#include "configure/resources/pe_image.h"
#include "configure/resources/resource_merge.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Result<PeImage> image = PeImage::parse(Bytes(data, data + size));
    if (!image) return 0;
    static const std::vector<Resource> launcherResources = [] {
        std::vector<Resource> resources = stringTableResources(exampleConfiguration());
        Result<std::vector<Resource>> icons = iconResources(defaultIconFile());
        if (icons) resources.insert(resources.end(), icons.value().begin(), icons.value().end());
        resources.push_back(manifestResource());
        return resources;
    }();
    ResourceTree tree = image.value().resources();
    if (!applyLauncherResources(tree, launcherResources)) return 0;
    Result<Bytes> written = image.value().withResources(tree, PeImage::Subsystem::Console);
    if (!written) return 0;
    if (written.value().size() > size + (64u << 20)) __builtin_trap(); // output grows with the input
    Result<PeImage> reread = PeImage::parse(written.value());
    if (!reread || !(reread.value().resources() == tree) || !reread.value().checksumMatches()) __builtin_trap();
    return 0;
}

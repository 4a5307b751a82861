// Executables: read, configured with a launcher's resources, laid out, and read back; what the
// tool would write must read back as exactly what was meant, and every section other than the
// resources and the relocations must keep its address and its bytes.
#include <algorithm>
#include <cstdint>

#include "base/little_endian.h"

#include "configure/resources/executable_metadata.h"
#include "configure/resources/pe_image.h"
#include "configure/resources/resource_merge.h"

namespace {

using namespace little_endian;

// Checked on the bytes themselves, apart from the reader: the data directories' addresses of
// the resources and the relocations, and each section's bytes in the input and in the output.
bool otherSectionsKept(const Bytes& input, const PeImage& before, const Bytes& output, const PeImage& after) {
    std::uint32_t optional = dword(&input[0x3C]) + 24;
    std::uint32_t directories = optional + (word(&input[optional]) == 0x20B ? 112 : 96);
    std::uint32_t resources = dword(&input[directories + 2 * 8]), relocations = dword(&input[directories + 5 * 8]);
    for (std::size_t i = 0; i < before.sections().size(); ++i) {
        const PeImage::Section& old = before.sections()[i];
        if ((resources && old.virtualAddress == resources) || (relocations && old.virtualAddress == relocations)) continue;
        if (i >= after.sections().size()) return false;
        const PeImage::Section& now = after.sections()[i];
        if (now.virtualAddress != old.virtualAddress || now.rawSize != old.rawSize) return false;
        if (!std::equal(input.begin() + old.rawOffset, input.begin() + old.rawOffset + old.rawSize,
                        output.begin() + now.rawOffset))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes input(data, data + size);
    Result<PeImage> image = PeImage::parse(input);
    if (!image) return 0;
    static const std::vector<Resource> launcherResources = [] {
        std::vector<Resource> resources = stringTableResources(exampleConfiguration());
        Result<std::vector<Resource>> icons = iconResources(defaultIconFile());
        if (icons) resources.insert(resources.end(), icons.value().begin(), icons.value().end());
        resources.push_back(manifestResource());
        resources.push_back(Resource{ResourceTypeBitmap, SplashResourceId, 0, defaultSplashBitmap()});
        return resources;
    }();
    ResourceTree tree = image.value().resources();
    if (!applyLauncherResources(tree, launcherResources)) return 0;
    Result<Bytes> written = image.value().withResources(tree, PeImage::Subsystem::Console);
    if (!written) return 0;
    // The output grows with the input: what the resources copy is bounded by the input's size.
    if (written.value().size() > 3 * size + (1u << 20)) __builtin_trap();
    Result<PeImage> reread = PeImage::parse(written.value());
    if (!reread || !(reread.value().resources() == tree) || !reread.value().checksumMatches()) __builtin_trap();
    if (!otherSectionsKept(input, image.value(), written.value(), reread.value())) __builtin_trap();
    return 0;
}

#include "configure/resources/executable_metadata.h"

#include "base/little_endian.h"
#include "base/utf8.h"
#include "configure/resources/picture_check.h"

using namespace little_endian;

namespace {

constexpr std::size_t IconDirectorySize = 6;
constexpr std::size_t IconFileEntrySize = 16;

} // namespace

Result<std::vector<Resource>> iconResources(const Bytes& icoFile) {
    if (icoFile.size() < IconDirectorySize || word(&icoFile[0]) != 0 || word(&icoFile[2]) != 1) {
        return Failure{0, "not an icon file"};
    }
    std::size_t count = word(&icoFile[4]);
    if (count > MaxIconImages) return Failure{0, "icon file has more than 64 images"};
    if (count == 0 || icoFile.size() < IconDirectorySize + count * IconFileEntrySize) {
        return Failure{0, "icon file has no images or is truncated"};
    }
    std::vector<Resource> resources;
    Bytes group;
    putWord(group, 0);
    putWord(group, 1);
    putWord(group, static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = &icoFile[IconDirectorySize + i * IconFileEntrySize];
        std::uint32_t size = dword(entry + 8);
        std::uint32_t offset = dword(entry + 12);
        std::string image = "icon image " + std::to_string(i + 1);
        if (size == 0 || offset > icoFile.size() || size > icoFile.size() - offset)
            return Failure{0, image + " lies outside the file"};
        // A width or height of 0 in the directory means 256.
        std::uint32_t width = entry[0] ? entry[0] : 256, height = entry[1] ? entry[1] : 256;
        if (Result<void> checked = checkIconImage(&icoFile[offset], size, width, height); !checked)
            return Failure{0, image + " is " + checked.failure().what};
        auto id = static_cast<std::uint16_t>(i + 1);
        resources.push_back(Resource{ResourceTypeIcon, id, 0, Bytes(icoFile.begin() + offset, icoFile.begin() + offset + size)});
        group.insert(group.end(), entry, entry + 12); // size, colours, planes, bits, bytes in image
        putWord(group, id);
    }
    resources.push_back(Resource{ResourceTypeGroupIcon, 1, 0, group});
    return resources;
}

Bytes defaultIconFile() {
    constexpr int Size = 32;
    Bytes image;
    putDword(image, 40);
    putDword(image, Size);
    putDword(image, Size * 2); // colour and mask
    putWord(image, 1);
    putWord(image, 32);
    putDword(image, 0);
    putDword(image, Size * Size * 4 + Size * 4);
    for (int i = 0; i < 4; ++i) putDword(image, 0);
    // A plain window: grey frame, blue title bar, white client area.
    for (int row = Size - 1; row >= 0; --row)
        for (int x = 0; x < Size; ++x) {
            bool inside = x >= 2 && x <= 29 && row >= 4 && row <= 27;
            bool frame = inside && (x == 2 || x == 29 || row == 4 || row == 27);
            bool title = inside && row >= 5 && row <= 9;
            std::uint32_t argb = !inside ? 0x00000000 : frame ? 0xFF505050 : title ? 0xFF2060C0 : 0xFFF8F8F8;
            putDword(image, argb);
        }
    for (int i = 0; i < Size; ++i) putDword(image, 0); // AND mask: alpha decides
    Bytes file;
    putWord(file, 0);
    putWord(file, 1);
    putWord(file, 1);
    file.push_back(Size);
    file.push_back(Size);
    file.push_back(0);
    file.push_back(0);
    putWord(file, 1);
    putWord(file, 32);
    putDword(file, static_cast<std::uint32_t>(image.size()));
    putDword(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

namespace {

// One node of the version resource: length, value length, type, key, value, children.
struct VersionNode {
    std::u16string key;
    Bytes value;
    bool textValue = false;
    std::vector<VersionNode> children;
};

Bytes serialise(const VersionNode& node) {
    Bytes out;
    putWord(out, 0); // length, set below
    std::size_t valueLength = node.textValue ? node.value.size() / 2 : node.value.size();
    putWord(out, static_cast<std::uint16_t>(valueLength));
    putWord(out, node.textValue ? 1 : 0);
    putString(out, node.key);
    alignTo(out, 4);
    out.insert(out.end(), node.value.begin(), node.value.end());
    for (const VersionNode& child : node.children) {
        alignTo(out, 4);
        Bytes bytes = serialise(child);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    setWord(out, 0, static_cast<std::uint16_t>(out.size()));
    return out;
}

VersionNode textEntry(const std::u16string& key, const std::string& text) {
    VersionNode node{key, {}, true, {}};
    putString(node.value, utf16FromUtf8(text));
    return node;
}

} // namespace

Resource versionResource(const std::map<std::string, std::string>& metadata) {
    auto value = [&](const std::string& key, const std::string& fallback) {
        auto found = metadata.find(key);
        return found == metadata.end() ? fallback : found->second;
    };
    std::string versionText = value("version", "1.0.0.0");
    std::vector<unsigned> version = parseFileVersion(versionText).value_or(std::vector<unsigned>{1, 0, 0, 0});
    std::string dotted = std::to_string(version[0]) + "." + std::to_string(version[1]) + "." +
                         std::to_string(version[2]) + "." + std::to_string(version[3]);

    Bytes fixed;
    putDword(fixed, 0xFEEF04BD); // signature
    putDword(fixed, 0x00010000); // structure version
    for (int twice = 0; twice < 2; ++twice) {   // file version, product version
        putDword(fixed, (version[0] << 16) | version[1]);
        putDword(fixed, (version[2] << 16) | version[3]);
    }
    putDword(fixed, 0x3F); // flags mask
    putDword(fixed, 0);    // flags
    putDword(fixed, 0x40004); // NT, 32-bit Windows
    putDword(fixed, 1);       // application
    putDword(fixed, 0);
    putDword(fixed, 0);
    putDword(fixed, 0);

    std::string product = value("product_name", "Java Application");
    VersionNode strings{u"040904B0", {}, true, {}};
    strings.children = {
        textEntry(u"CompanyName", value("company", "")),
        textEntry(u"FileDescription", value("description", product)),
        textEntry(u"FileVersion", dotted),
        textEntry(u"LegalCopyright", value("copyright", "")),
        textEntry(u"ProductName", product),
        textEntry(u"ProductVersion", dotted),
    };
    VersionNode stringFileInfo{u"StringFileInfo", {}, true, {strings}};
    VersionNode translation{u"Translation", {}, false, {}};
    putWord(translation.value, 0x0409);
    putWord(translation.value, 0x04B0);
    VersionNode varFileInfo{u"VarFileInfo", {}, true, {translation}};
    VersionNode root{u"VS_VERSION_INFO", fixed, false, {stringFileInfo, varFileInfo}};
    return Resource{ResourceTypeVersion, 1, 0, serialise(root)};
}

const char* const LauncherManifest = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">
    <security>
      <requestedPrivileges>
        <requestedExecutionLevel level="asInvoker" uiAccess="false"/>
      </requestedPrivileges>
    </security>
  </trustInfo>
  <compatibility xmlns="urn:schemas-microsoft-com:compatibility.v1">
    <application>
      <supportedOS Id="{e2011457-1546-43c5-a5fe-008deee3d3f0}"/>
      <supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>
      <supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>
      <supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>
      <supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>
    </application>
  </compatibility>
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                        processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
  <application xmlns="urn:schemas-microsoft-com:asm.v3">
    <windowsSettings>
      <dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>
      <dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>
      <longPathAware xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">true</longPathAware>
    </windowsSettings>
  </application>
</assembly>
)";

Resource manifestResource() {
    std::string text = LauncherManifest;
    return Resource{ResourceTypeManifest, 1, 0, Bytes(text.begin(), text.end())};
}

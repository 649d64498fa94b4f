// Reads the manifest and the version resource back from a built exe, as Windows and
// Explorer read them. MODALSCOPE_EXE names another exe to check (the release ZIP's).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string exePath() {
    const char* other = std::getenv("MODALSCOPE_EXE");
    return other != nullptr && *other != '\0' ? other : MODALSCOPE_EXE;
}

class ExeImage {
  public:
    ExeImage()
        : module_(LoadLibraryExA(exePath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ExeImage() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    ExeImage(const ExeImage&) = delete;
    ExeImage& operator=(const ExeImage&) = delete;
    HMODULE module() const { return module_; }

  private:
    HMODULE module_;
};

// Collects resource ids; a resource named by a string collects as 0.
BOOL CALLBACK collectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(ids)->push_back(
        IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0);
    return TRUE;
}

std::string manifestText(HMODULE module, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(24));
    const char* data = found != nullptr
                           ? static_cast<const char*>(LockResource(LoadResource(module, found)))
                           : nullptr;
    return data != nullptr ? std::string(data, SizeofResource(module, found)) : std::string();
}

// One process manifest (resource 1): DPI awareness and the supported systems, and no
// Common Controls 6, which only the About box's own manifest (resource 124) asks for.
TEST(ExeResources, ProcessManifestAndAboutBoxManifest) {
    ExeImage exe;
    ASSERT_NE(exe.module(), nullptr) << exePath();

    std::vector<ULONG_PTR> manifests;
    EnumResourceNamesA(exe.module(), MAKEINTRESOURCEA(24), collectId,
                       reinterpret_cast<LONG_PTR>(&manifests));
    ASSERT_EQ(manifests, (std::vector<ULONG_PTR>{1u, 124u}));

    const std::string process = manifestText(exe.module(), 1);
    const char* wanted[] = {
        ">true/pm</dpiAware>", // Windows 8.1 per monitor, 7 and 8 system
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10 and 11
    };
    for (const char* piece : wanted) {
        EXPECT_NE(process.find(piece), std::string::npos) << piece;
    }
    EXPECT_EQ(process.find("Common-Controls"), std::string::npos) << "not at start-up";

    const std::string about = manifestText(exe.module(), 124);
    EXPECT_NE(about.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(about.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
}

// The icon lists the classic 16-colour image and a 32-bit one for each size a scaled desktop
// asks for; the system finds each size's own image (256 in PNG) and loads it.
TEST(ExeResources, IconHasAnImageForEverySize) {
    ExeImage exe;
    auto data = [&](int id, int type) {
        HRSRC found = FindResourceA(exe.module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
        return static_cast<BYTE*>(LockResource(LoadResource(exe.module(), found)));
    };
    BYTE* group = data(115, 14); // RT_GROUP_ICON: 6 bytes, then 14 for each image
    ASSERT_NE(group, nullptr) << exePath();
    std::vector<std::pair<int, int>> listed; // width, bits per pixel
    for (const BYTE* entry = group + 6; entry < group + 6 + 14 * group[4]; entry += 14) {
        listed.emplace_back(entry[0] == 0 ? 256 : entry[0], entry[6]);
    }
    EXPECT_EQ(listed, (std::vector<std::pair<int, int>>{
                          {32, 4}, {16, 32}, {20, 32}, {24, 32}, {32, 32}, {48, 32}, {256, 32}}));
    for (int side : {16, 20, 24, 32, 48, 256}) {
        const BYTE* image = data(LookupIconIdFromDirectoryEx(group, TRUE, side, side, 0), 3);
        ASSERT_NE(image, nullptr) << side;
        // A PNG's width is big-endian at 16; a bitmap header's little-endian at 4.
        EXPECT_EQ(image[0] == 0x89 ? image[18] << 8 | image[19] : image[4] | image[5] << 8, side);
        HICON icon = static_cast<HICON>(
            LoadImageA(exe.module(), MAKEINTRESOURCEA(115), IMAGE_ICON, side, side, 0));
        EXPECT_NE(icon, nullptr) << side;
        DestroyIcon(icon);
    }
}

std::wstring versionString(const std::vector<char>& block, const wchar_t* name) {
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) {
        return L"(missing)";
    }
    return static_cast<const wchar_t*>(value);
}

TEST(ExeResources, VersionResourceNamesTheProduct) {
    const std::string path = exePath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << path;
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(versionString(block, L"ProductName"), L"Modalscope");
    EXPECT_EQ(versionString(block, L"ProductVersion"), L"1.0");
    EXPECT_EQ(versionString(block, L"FileVersion"), L"1.0.0.0");
    EXPECT_EQ(versionString(block, L"OriginalFilename"), L"modalscope.exe");
    EXPECT_EQ(versionString(block, L"LegalCopyright"),
              L"Copyright (c) 2026 The Modalscope project");
    const std::wstring description = versionString(block, L"FileDescription");
    EXPECT_NE(description.find(L"Modalscope"), std::wstring::npos);
    EXPECT_EQ(description.find(L'\n'), std::wstring::npos) << "one line";
}

} // namespace

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

TEST(ExeResources, OneManifestWithDpiAwarenessSupportedOsAndCommonControls) {
    ExeImage exe;
    ASSERT_NE(exe.module(), nullptr) << exePath();

    std::vector<ULONG_PTR> manifests;
    EnumResourceNamesA(exe.module(), MAKEINTRESOURCEA(24), collectId,
                       reinterpret_cast<LONG_PTR>(&manifests));
    ASSERT_EQ(manifests.size(), 1u) << "exactly one manifest";
    EXPECT_EQ(manifests[0], 1u) << "the process manifest is resource 1";

    HRSRC found = FindResourceA(exe.module(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(exe.module(), found)));
    ASSERT_NE(data, nullptr);
    const std::string text(data, SizeofResource(exe.module(), found));

    const char* wanted[] = {
        ">true</dpiAware>",
        ">system</dpiAwareness>",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10 and 11
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
    };
    for (const char* piece : wanted) {
        EXPECT_NE(text.find(piece), std::string::npos) << piece;
    }
}

// The icon's group directory lists the classic 16-colour image and one 32-bit image for
// each size a scaled desktop asks for; the system finds each size's own image and loads it.
TEST(ExeResources, IconHasAnImageForEverySize) {
    ExeImage exe;
    ASSERT_NE(exe.module(), nullptr) << exePath();
    auto data = [&](LPCSTR name, LPCSTR type, DWORD* size) -> const BYTE* {
        HRSRC found = FindResourceA(exe.module(), name, type);
        *size = found != nullptr ? SizeofResource(exe.module(), found) : 0;
        return found != nullptr
                   ? static_cast<const BYTE*>(LockResource(LoadResource(exe.module(), found)))
                   : nullptr;
    };
    DWORD size = 0;
    const BYTE* group = data(MAKEINTRESOURCEA(115), MAKEINTRESOURCEA(14), &size); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    std::vector<std::pair<int, int>> listed; // width, bits per pixel of each 14-byte entry
    for (int i = 0; i < group[4] && 6u + 14 * (i + 1) <= size; ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        listed.emplace_back(entry[0] == 0 ? 256 : entry[0], entry[6] | entry[7] << 8);
    }
    EXPECT_EQ(listed, (std::vector<std::pair<int, int>>{
                          {32, 4}, {16, 32}, {20, 32}, {24, 32}, {32, 32}, {48, 32}, {256, 32}}));
    for (int side : {16, 20, 24, 32, 48, 256}) {
        const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group), TRUE, side, side,
                                                   LR_DEFAULTCOLOR);
        const BYTE* image = data(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3), &size); // RT_ICON
        ASSERT_TRUE(image != nullptr && size > 24) << side;
        const bool png = image[1] == 'P' && image[2] == 'N' && image[3] == 'G';
        const BYTE* width = image + (png ? 16 : 4); // IHDR's width is big-endian
        EXPECT_EQ(png ? width[2] << 8 | width[3] : width[0] | width[1] << 8, side);
        EXPECT_EQ(png, side == 256) << side;
        HICON icon = static_cast<HICON>(
            LoadImageA(exe.module(), MAKEINTRESOURCEA(115), IMAGE_ICON, side, side, 0));
        ICONINFO info = {};
        BITMAP colour = {};
        ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &info)) << side;
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, side);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
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
    EXPECT_EQ(versionString(block, L"LegalCopyright"), L"Copyright (c) 2026 The Modalscope project");
    const std::wstring description = versionString(block, L"FileDescription");
    EXPECT_NE(description.find(L"Modalscope"), std::wstring::npos);
    EXPECT_EQ(description.find(L'\n'), std::wstring::npos) << "one line";
}

} // namespace

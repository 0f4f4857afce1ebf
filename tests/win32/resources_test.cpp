// The resources compiled into kelvane.exe: icon group 128 with its three
// sizes, the version record and the manifest.
#include "win32/test_paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// kelvane.exe loaded for its resources only.
HMODULE program()
{
    static const HMODULE module = LoadLibraryExW(kelvaneExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

std::string resourceText(LPCWSTR type, int id)
{
    HRSRC res = FindResourceW(program(), MAKEINTRESOURCEW(id), type);
    if (!res)
        return {};
    HGLOBAL data = LoadResource(program(), res);
    const char* bytes = static_cast<const char*>(LockResource(data));
    return bytes ? std::string(bytes, SizeofResource(program(), res)) : std::string();
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconDir {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

TEST(Resources, IconGroup128HoldsThe16_32And48PixelImagesIn32Bits)
{
    ASSERT_NE(program(), nullptr) << GetLastError();
    const std::string group = resourceText(RT_GROUP_ICON, 128);
    ASSERT_GE(group.size(), sizeof(GroupIconDir));
    const auto* dir = reinterpret_cast<const GroupIconDir*>(group.data());
    ASSERT_EQ(dir->count, 3);
    ASSERT_GE(group.size(), 6 + 14u * dir->count);
    std::vector<int> sizes;
    for (int i = 0; i < dir->count; ++i) {
        const GroupIconEntry& e = dir->entries[i];
        sizes.push_back(e.width);
        EXPECT_EQ(e.bitCount, 32);
        EXPECT_FALSE(resourceText(RT_ICON, e.id).empty());
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));
    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(LoadImageW(program(), MAKEINTRESOURCEW(128), IMAGE_ICON,
                                                   size, size, LR_DEFAULTCOLOR));
        EXPECT_NE(icon, nullptr) << size;
        DestroyIcon(icon);
    }
}

TEST(Resources, VersionRecordIsTheProjectVersionInChinesePrcUnicode)
{
    const std::wstring path = kelvaneExePath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(KELVANE_VERSION_MINOR, KELVANE_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(KELVANE_VERSION_TWEAK, KELVANE_VERSION_PATCH));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &len));
    ASSERT_EQ(len, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 0x04b0);

    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\080404b0\\FileVersion",
                               reinterpret_cast<void**>(&text), &len));
    const std::wstring want = std::to_wstring(KELVANE_VERSION_MAJOR) + L", " + std::to_wstring(KELVANE_VERSION_MINOR) +
                              L", " + std::to_wstring(KELVANE_VERSION_PATCH) + L", " +
                              std::to_wstring(KELVANE_VERSION_TWEAK);
    EXPECT_EQ(std::wstring(text), want);
}

TEST(Resources, TheProgramIsOneFileUnder3MB)
{
    WIN32_FILE_ATTRIBUTE_DATA a{};
    ASSERT_TRUE(GetFileAttributesExW(kelvaneExePath().c_str(), GetFileExInfoStandard, &a));
    EXPECT_EQ(a.nFileSizeHigh, 0u);
    EXPECT_LT(a.nFileSizeLow, 3u * 1024 * 1024);
}

TEST(Resources, ManifestAsksForCommonControls6AndDpiAwarenessButNotUtf8)
{
    const std::string manifest = resourceText(RT_MANIFEST, 1);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos);
}

} // namespace

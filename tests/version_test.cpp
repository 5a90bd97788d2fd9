// The version reader over fixture files with their own version resources, sizes in units,
// and the file-properties texts read from a file.
#include "TestUtil.h"
#include "system/FileProperties.h"
#include "system/VersionInfo.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <filesystem>
#include <fstream>

namespace {

std::wstring Fixture(const wchar_t* name) { return TestUtil::ProgramFolder() + L"\\" + name; }

// A file of the given size without a version resource.
std::wstring PlainFile(const wchar_t* name, size_t bytes) {
    const std::wstring path = Fixture(name);
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out << std::string(bytes, 'x');
    return path;
}

TEST(VersionInfo, ReadsEveryStringValue) {
    VersionInfo info;
    info.Filename(Fixture(L"vfix_full.exe"));
    const std::pair<std::wstring, std::wstring> values[] = {
        {info.CompanyName(), L"Fixture Works"},
        {info.FileDescription(), L"Fixture program"},
        {info.FileVersion(), L"1.2.3.4"},
        {info.InternalName(), L"vfull"},
        {info.LegalCopyright(), L"Copyright (C) Fixture Works"},
        {info.OriginalFileName(), L"vfull.exe"},
        {info.ProductName(), L"Fixture Suite"},
        {info.ProductVersion(), L"5.6.7.8"},
        {info.LegalTrademarks(), L"Trademark one"},
        {info.LegalTrademarks1(), L"Trademark two"},
        {info.LegalTrademarks2(), L"Trademark three"},
        {info.Comments(), L"A comment"},
        {info.PrivateBuild(), L"Private build"},
        {info.SpecialBuild(), L"Special build"},
    };
    for (const auto& [read, expected] : values) EXPECT_EQ(read, expected);
    EXPECT_EQ(info.Filename(), Fixture(L"vfix_full.exe"));
}

TEST(VersionInfo, TranslationAndFixedFieldsOfEachFixture) {
    struct Case {
        const wchar_t* file;
        long language, codePage;
        std::wstring company;  // read under the translation's key
        DWORD flagsRaw;
        std::wstring flags;
        DWORD osRaw;
        std::wstring os;
        DWORD typeRaw;
        std::wstring type;
        DWORD subTypeRaw;
        std::wstring subType;
    };
    const Case cases[] = {
        {L"vfix_full.exe", 0x409, 0x4E4, L"Fixture Works", 0x3F, L"Debug Patched Pre-release Private Special ", 0x40004,
         L"Win32 API on Windows NT", 1, L"Application", 0, L"Unknown"},
        // 0/0 is read as US English in the Western European code page.
        {L"vfix_zero.exe", 0x409, 0x4E4, L"Zero Works", 0, L"", 0, L"Unknown API", 2, L"DLL", 0, L"Unknown"},
        // No translation: no key, so no strings, but the fixed fields are still read.
        {L"vfix_notrans.exe", 0, 0, L"", 0, L"", 0x40004, L"Win32 API on Windows NT", 3, L"Driver", 9, L"Sound"},
        // Bit 0x10 has no text of its own.
        {L"vfix_font.exe", 0x409, 1200, L"Font Works", 0x10, L"", 0x10001, L"Win16 API on DOS", 4, L"Font", 3,
         L"TrueType"},
        {L"vfix_vxd.exe", 0x409, 0x4E4, L"Device Works", 0, L"", 0x30003, L"PM32 API on OS2/32", 5, L"VXD", 0x1234,
         L"4660"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        VersionInfo info;
        info.Filename(Fixture(c.file));
        EXPECT_EQ(info.Language(), c.language);
        EXPECT_EQ(info.CodePage(), c.codePage);
        EXPECT_EQ(info.CompanyName(), c.company);
        EXPECT_EQ(info.FileFlagsRaw(), c.flagsRaw);
        EXPECT_EQ(info.FileFlags(), c.flags);
        EXPECT_EQ(info.FileOSRaw(), c.osRaw);
        EXPECT_EQ(info.FileOS(), c.os);
        EXPECT_EQ(info.FileTypeRaw(), c.typeRaw);
        EXPECT_EQ(info.FileType(), c.type);
        EXPECT_EQ(info.FileSubTypeRaw(), c.subTypeRaw);
        EXPECT_EQ(info.FileSubType(), c.subType);
    }
}

TEST(VersionInfo, ASecondFileOrAnUnloadedModuleKeepsNothingOfTheFirst) {
    VersionInfo info;
    info.Filename(Fixture(L"vfix_full.exe"));
    ASSERT_EQ(info.CompanyName(), L"Fixture Works");

    const auto expectEmpty = [&info] {
        EXPECT_EQ(info.Language(), 0);
        EXPECT_EQ(info.CodePage(), 0);
        EXPECT_EQ(info.CompanyName(), L"");
        EXPECT_EQ(info.OriginalFileName(), L"");
        EXPECT_EQ(info.FileFlags(), L"");
        EXPECT_EQ(info.FileOS(), L"Unknown API");
        EXPECT_EQ(info.FileType(), L"Unknown");
        EXPECT_EQ(info.FileSubType(), L"Unknown");
    };
    const std::wstring plain = PlainFile(L"no-version.txt", 10);
    info.Filename(plain);
    EXPECT_EQ(info.Filename(), plain);
    expectEmpty();

    // A module of the program: its file and resource.
    info.ModuleName(L"version_test.exe");
    EXPECT_EQ(info.Filename(), Fixture(L"version_test.exe"));
    EXPECT_EQ(info.OriginalFileName(), L"Corvell.exe");
    EXPECT_EQ(info.CodePage(), 1200);

    // A module that is not loaded describes nothing, not the program's own file.
    info.ModuleName(L"no-such-module.dll");
    EXPECT_EQ(info.Filename(), L"");
    expectEmpty();
}

TEST(FormatSize, EachUnitFromItsBoundary) {
    const std::pair<double, std::wstring> cases[] = {
        {0, L"0 bytes"},
        {512, L"512 bytes"},
        {1023, L"1023 bytes"},
        {1024, L"1.00 KB"},
        {1536, L"1.50 KB"},
        {1048575, L"1024.00 KB"},
        {1048576, L"1.00 MB"},
        {5.0 * 1024 * 1024 * 1024, L"5.00 GB"},
        {5000000000.0, L"4.66 GB"},  // above 2^32
        {1099511627776.0, L"1.00 TB"},
        {1125899906842624.0 * 1024 * 1024, L"1.00 ZB"},  // 1024^5 * 1024^2
        {1125899906842624.0 * 1024 * 1024 * 1024, L"1.00 YB"},
        {1125899906842624.0 * 1024 * 1024 * 1024 * 1024, L"1024.00 YB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(KB_MB::FormatSize(bytes), text) << bytes;
}

TEST(LoadFileProperties, ReadsEveryFieldOfAFileInItsOrder) {
    const std::wstring path = Fixture(L"vfix_copy.exe");
    DeleteFileW(path.c_str());
    ASSERT_TRUE(CopyFileW(Fixture(L"vfix_full.exe").c_str(), path.c_str(), FALSE));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    ASSERT_EQ(data.nFileSizeHigh, 0u);
    ASSERT_GE(data.nFileSizeLow, 1024u);

    const auto texts = FileProperties::LoadFileProperties(path, FileProperties::NameRule::FileName);
    EXPECT_TRUE(texts.Complete());
    const std::array<std::wstring, 7> expected = {
        L"vfix_copy.exe", L"5.6.7.8", L"Fixture Works", L"Copyright (C) Fixture Works", L"Win32 API on Windows NT",
        L"Application", KB_MB::FormatSize(data.nFileSizeLow)};
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(texts.field[i], expected[i]) << i;
    // Made just now: today's local date in the user's short format, a blank and the time.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::wstring today = std::to_wstring(now.wMonth) + L"/" + std::to_wstring(now.wDay) + L"/" +
                               std::to_wstring(now.wYear) + L" ";
    EXPECT_EQ(texts.field[7].rfind(today, 0), 0u) << texts.field[7];
    EXPECT_GT(texts.field[7].size(), today.size());

    // The name from the version resource.
    const auto original = FileProperties::LoadFileProperties(path, FileProperties::NameRule::OriginalFileName);
    EXPECT_EQ(original.field[0], L"vfull.exe");

    // Without a version resource the file's own name still shows under the first rule.
    const std::wstring plain = PlainFile(L"plain.dat", 1536);
    const auto bare = FileProperties::LoadFileProperties(plain, FileProperties::NameRule::FileName);
    EXPECT_TRUE(bare.Complete());
    EXPECT_EQ(bare.field[0], L"plain.dat");
    EXPECT_EQ(bare.field[6], L"1.50 KB");
    EXPECT_EQ(FileProperties::LoadFileProperties(plain, FileProperties::NameRule::OriginalFileName).field[0], L"");
}

TEST(LoadFileProperties, AMissingFileOrAFolderStopsBeforeTheSize) {
    const std::wstring paths[] = {Fixture(L"missing.exe"), TestUtil::ProgramFolder(), L""};
    for (const auto& path : paths) {
        SCOPED_TRACE(path.c_str());
        const auto texts = FileProperties::LoadFileProperties(path, FileProperties::NameRule::FileName);
        EXPECT_FALSE(texts.Complete());
        EXPECT_EQ(texts.filled, 5);
        for (int field : {0, 1, 2, 4, 5}) EXPECT_TRUE(texts.Filled(field)) << field;
        for (int field : {3, 6, 7}) EXPECT_FALSE(texts.Filled(field)) << field;
        EXPECT_EQ(texts.field[1], L"");
        EXPECT_EQ(texts.field[2], L"");
        EXPECT_EQ(texts.field[4], L"Unknown API");
        EXPECT_EQ(texts.field[5], L"Unknown");
    }
    EXPECT_EQ(FileProperties::LoadFileProperties(Fixture(L"missing.exe"), FileProperties::NameRule::FileName).field[0],
              L"missing.exe");
}

} // namespace

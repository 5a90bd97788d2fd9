// The registry layer by key path: formats, "Error", long values, DWORDs, lists, writes.
#include "TestSeam.h"
#include "TestUtil.h"
#include "system/Handles.h"
#include "system/Registry.h"

#include <gtest/gtest.h>

#include <functional>

using namespace General;

namespace {

const std::wstring kSub = L"Software\\CorvellTest";
const std::wstring kPath = L"HKEY_CURRENT_USER\\Software\\CorvellTest";

class RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::DeleteTree(HKEY_CURRENT_USER, kSub);
        ASSERT_TRUE(CreateKey(kPath));
    }
    void TearDown() override { TestUtil::DeleteTree(HKEY_CURRENT_USER, kSub); }
    TestSeam seam;
};

TEST_F(RegistryTest, MalformedPathsShowOneMessageAndChangeNothing) {
    struct Case {
        std::wstring path;
        bool message;
    };
    const Case cases[] = {
        {L"HKEY_CURRENT_USER\\Software\\CorvellTest\\", true},  // trailing "\"
        {L"hkey_current_user\\Software\\CorvellTest", true},    // the prefix test is exact
        {L"Software\\CorvellTest", true},
        {L"HKEY_Current_User\\Software\\CorvellTest", false},   // unknown root: silent
        {L"HKEY_NOWHERE\\Software", false},
    };
    for (const auto& c : cases) {
        seam.messages.clear();
        EXPECT_EQ(GetStringValue(c.path, L"x"), L"") << c.path.c_str();
        EXPECT_EQ(GetDWORDValue(c.path, L"x"), L"") << c.path.c_str();
        EXPECT_FALSE(SetStringValue(c.path, L"x", L"y"));
        if (c.message) {
            ASSERT_EQ(seam.messages.size(), 3u) << c.path.c_str();
            EXPECT_EQ(seam.messages[0].text, L"Incorrect Format:\n\n" + c.path);
            EXPECT_EQ(seam.messages[0].caption, L"Corvell");
            EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK));
        } else {
            EXPECT_TRUE(seam.messages.empty()) << c.path.c_str();
        }
    }
    EXPECT_FALSE(TestUtil::ValueExists(HKEY_CURRENT_USER, kSub, L"x"));
}

TEST_F(RegistryTest, RootAloneAddressesTheRootKey) {
    EXPECT_TRUE(CreateKey(L"HKEY_CURRENT_USER"));
    ASSERT_TRUE(SetStringValue(L"HKEY_CURRENT_USER", L"CorvellRootValue", L"at the root"));
    EXPECT_EQ(GetStringValue(L"HKEY_CURRENT_USER", L"CorvellRootValue"), L"at the root");
    EXPECT_TRUE(DeleteValue(HKEY_CURRENT_USER, L"", L"CorvellRootValue"));
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(RegistryTest, ErrorForMissingKeyAndValue) {
    EXPECT_EQ(GetStringValue(kPath + L"\\Missing", L"a"), L"Error");
    EXPECT_EQ(GetStringValue(kPath, L"missing"), L"Error");
    EXPECT_EQ(GetDWORDValue(kPath + L"\\Missing", L"a"), L"Error");
    EXPECT_EQ(GetDWORDValue(kPath, L"missing"), L"Error");
}

TEST_F(RegistryTest, StringsReadBackExactlyAsStoredWhateverTheirLength) {
    const std::wstring cases[] = {
        L"",
        L"  padded  ",
        std::wstring(254, L'a'),
        std::wstring(255, L'b'),
        L"\"C:\\Program Files\\" + std::wstring(300, L'x') + L".exe\" /background",
    };
    for (const auto& value : cases) {
        ASSERT_TRUE(SetStringValue(kPath, L"v", value));
        EXPECT_EQ(GetStringValue(kPath, L"v"), value) << value.size();
        DWORD type = 0;
        std::wstring raw;
        ASSERT_TRUE(TestUtil::ReadString(HKEY_CURRENT_USER, kSub, L"v", raw, &type));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    }
}

TEST_F(RegistryTest, ExpandableTextComesBackUnexpanded) {
    TestUtil::PutString(HKEY_CURRENT_USER, kSub, L"e", L"%ProgramFiles%\\App\\app.exe", REG_EXPAND_SZ);
    EXPECT_EQ(GetStringValue(kPath, L"e"), L"%ProgramFiles%\\App\\app.exe");
}

TEST_F(RegistryTest, WritesIntoAMissingKeyWriteNothing) {
    EXPECT_FALSE(SetStringValue(kPath + L"\\Missing", L"a", L"b"));
    EXPECT_FALSE(SetDWORDValue(kPath + L"\\Missing", L"a", 1));
    EXPECT_EQ(GetStringValue(kPath + L"\\Missing", L"a"), L"Error");
    EXPECT_FALSE(Registry::KeyExists(HKEY_CURRENT_USER, kSub + L"\\Missing"));
}

TEST_F(RegistryTest, DwordValues) {
    ASSERT_TRUE(SetDWORDValue(kPath, L"d", static_cast<long>(0xFFFFFFFFu)));
    EXPECT_EQ(GetDWORDValue(kPath, L"d"), L"-1");
    ASSERT_TRUE(SetDWORDValue(kPath, L"d", 4));
    EXPECT_EQ(GetDWORDValue(kPath, L"d"), L"4");
    // Data shorter or longer than 4 bytes cannot be read as a number.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kSub.c_str(), 0, KEY_WRITE, &key), ERROR_SUCCESS);
    const BYTE two[2] = {1, 2};
    RegSetValueExW(key, L"short", 0, REG_BINARY, two, 2);
    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    RegSetValueExW(key, L"long", 0, REG_QWORD, eight, 8);
    RegCloseKey(key);
    EXPECT_EQ(GetDWORDValue(kPath, L"short"), L"Error");
    EXPECT_EQ(GetDWORDValue(kPath, L"long"), L"Error");
    // A failed read never gives the number of an earlier call.
    EXPECT_EQ(GetDWORDValue(kPath, L"missing"), L"Error");
}

TEST_F(RegistryTest, DeleteValueAndKey) {
    ASSERT_TRUE(SetStringValue(kPath, L"gone", L"1"));
    EXPECT_TRUE(DeleteValue(HKEY_CURRENT_USER, kSub, L"gone"));
    EXPECT_FALSE(DeleteValue(HKEY_CURRENT_USER, kSub, L"gone"));
    EXPECT_FALSE(DeleteValue(HKEY_CURRENT_USER, kSub + L"\\Missing", L"gone"));
    ASSERT_TRUE(CreateKey(kPath + L"\\Child"));
    EXPECT_TRUE(DeleteKey(kPath + L"\\Child"));
    EXPECT_FALSE(Registry::KeyExists(HKEY_CURRENT_USER, kSub + L"\\Child"));
}

TEST_F(RegistryTest, QueryRegValueByTheTypeAsked) {
    const wchar_t multi[] = L"Netman\0RpcSs\0";
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kSub.c_str(), 0, KEY_WRITE, &key), ERROR_SUCCESS);
    RegSetValueExW(key, L"Deps", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof(multi));
    const wchar_t one[] = L"Netman\0";
    RegSetValueExW(key, L"One", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(one), sizeof(one));
    RegSetValueExW(key, L"Empty", 0, REG_SZ, nullptr, 0);
    const DWORD d = 0xFFFFFFFF;
    RegSetValueExW(key, L"D", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d), 4);
    RegCloseKey(key);
    TestUtil::PutString(HKEY_CURRENT_USER, kSub, L"X", L"%SystemRoot%\\x.exe", REG_EXPAND_SZ);

    DWORD type = REG_MULTI_SZ;
    auto deps = Module1::QueryRegValue(HKEY_CURRENT_USER, kSub, L"Deps", type);
    ASSERT_TRUE(std::holds_alternative<std::vector<std::wstring>>(deps));
    EXPECT_EQ(std::get<std::vector<std::wstring>>(deps), (std::vector<std::wstring>{L"Netman", L"RpcSs", L""}));
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));

    type = REG_MULTI_SZ;
    auto single = Module1::QueryRegValue(HKEY_CURRENT_USER, kSub, L"One", type);
    EXPECT_EQ(std::get<std::vector<std::wstring>>(single), (std::vector<std::wstring>{L"Netman", L""}));

    type = REG_EXPAND_SZ;
    EXPECT_EQ(std::get<std::wstring>(Module1::QueryRegValue(HKEY_CURRENT_USER, kSub, L"X", type)),
              L"%SystemRoot%\\x.exe");
    type = REG_DWORD;
    EXPECT_EQ(std::get<std::wstring>(Module1::QueryRegValue(HKEY_CURRENT_USER, kSub, L"D", type)), L"-1");
    type = REG_EXPAND_SZ;
    EXPECT_EQ(std::get<std::wstring>(Module1::QueryRegValue(HKEY_CURRENT_USER, kSub, L"Empty", type)), L"");
    type = REG_SZ;  // a type it does not read
    EXPECT_EQ(std::get<std::wstring>(Module1::QueryRegValue(HKEY_CURRENT_USER, kSub, L"X", type)), L"");
    type = REG_MULTI_SZ;
    EXPECT_EQ(std::get<std::wstring>(Module1::QueryRegValue(HKEY_CURRENT_USER, kSub, L"Missing", type)), L"");
}

TEST_F(RegistryTest, EnumValuesReadsEveryValueWhole) {
    const std::wstring longCommand = L"C:\\" + std::wstring(5000, L'q') + L".exe";
    TestUtil::PutString(HKEY_CURRENT_USER, kSub, L"a", L"short");
    TestUtil::PutString(HKEY_CURRENT_USER, kSub, std::wstring(300, L'n'), longCommand);
    TestUtil::PutString(HKEY_CURRENT_USER, kSub, L"z", L"after");
    const auto values = Registry::EnumValues(HKEY_CURRENT_USER, kSub);
    ASSERT_TRUE(values.has_value());
    ASSERT_EQ(values->size(), 3u);
    bool sawLong = false;
    for (const auto& v : *values)
        if (v.name == std::wstring(300, L'n')) sawLong = v.text == longCommand;
    EXPECT_TRUE(sawLong);
    EXPECT_FALSE(Registry::EnumValues(HKEY_CURRENT_USER, kSub + L"\\Missing").has_value());
}

} // namespace

namespace {

// Runs work on a thread of its own and waits at most the bound; a call that spins is ended
// so the suite can go on, and reported as not returning.
bool ReturnsWithin(DWORD milliseconds, const std::function<void()>& work) {
    struct Job {
        std::function<void()> work;
    } job{work};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            static_cast<Job*>(p)->work();
            return 0;
        },
        &job, 0, nullptr);
    if (!thread) return false;
    const bool returned = WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
    if (!returned) TerminateThread(thread, 1);
    CloseHandle(thread);
    return returned;
}

} // namespace

TEST_F(RegistryTest, EnumerationOfAKeyDeletedWhileOpenEnds) {
    const std::wstring doomed = kSub + L"\\Doomed";
    ASSERT_TRUE(CreateKey(kPath + L"\\Doomed\\Child"));
    for (int i = 0; i < 50; ++i)
        TestUtil::PutString(HKEY_CURRENT_USER, doomed, L"v" + std::to_wstring(i), L"C:\\x.exe");
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, doomed.c_str(), 0, KEY_READ, &raw), ERROR_SUCCESS);
    const UniqueHkey open(raw);
    // Deleted through another handle while this one stays open, as a cleaner would.
    ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, (doomed + L"\\Child").c_str()), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, doomed.c_str()), ERROR_SUCCESS);

    std::optional<std::vector<Registry::Value>> values;
    EXPECT_TRUE(ReturnsWithin(10000, [&] { values = Registry::EnumValues(open.get()); }));
    EXPECT_FALSE(values.has_value());  // shown as a key that is not there
    std::vector<std::wstring> subKeys{L"not read"};
    EXPECT_TRUE(ReturnsWithin(10000, [&] { subKeys = Registry::EnumSubKeys(open.get()); }));
    EXPECT_TRUE(subKeys.empty());
}

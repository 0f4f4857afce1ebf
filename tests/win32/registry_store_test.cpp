// Options kept in the registry: integers read back as decimal text, values
// of other types typed in by hand with regedit (text values are checked with
// the INI file's, in core/ccore_test), and persistence from one start to the
// next.
#include "core/ccore.h"
#include "core/options.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

namespace {

class RegistryStore : public testing::Test {
protected:
    const std::wstring subkey = L"Software\\Kelvane\\Tests\\registry-" + std::to_wstring(GetCurrentProcessId());
    std::unique_ptr<CCore> core = open();

    std::unique_ptr<CCore> open()
    {
        CoreOptions o;
        o.configPath = std::string(subkey.begin(), subkey.end());
        o.appPath.assign(1, '.');
        return std::make_unique<CCore>(std::move(o));
    }
    void TearDown() override
    {
        core.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, subkey.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, subkey.c_str());
    }
    void setByHand(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, subkey.c_str(), name, type, data, bytes), ERROR_SUCCESS);
    }
    std::wstring storedText(const wchar_t* name)
    {
        wchar_t buf[256] = {};
        DWORD bytes = sizeof buf;
        if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &bytes) != ERROR_SUCCESS)
            return L"<missing>";
        return buf;
    }
};

TEST_F(RegistryStore, SavedValuesSurviveARestart)
{
    core->saveConfigInt(opt::count_str, -42);
    core->saveConfigB(opt::isHz, 1);
    core->saveConfigStr(opt::head, gbk::lit("头部x"));
    ASSERT_TRUE(core->store().sync());
    core = open();
    EXPECT_EQ(core->getConfigInt(opt::count_str), -42);
    EXPECT_EQ(core->getConfigStr(opt::count_str), "-42"); // an integer reads back as its decimal text
    EXPECT_EQ(core->getConfigB(opt::isHz), 1);
    EXPECT_EQ(core->getConfigStr(opt::head), gbk::lit("头部x"));
    // Stored as Unicode text, readable in regedit.
    EXPECT_EQ(storedText(L"head"), L"头部x");
    EXPECT_EQ(storedText(L"count_str"), L"-42");
    EXPECT_EQ(core->store().path(), "HKEY_CURRENT_USER\\" + std::string(subkey.begin(), subkey.end()));
}

TEST_F(RegistryStore, ValuesTypedByHandAreCheckedLikeTheIniFile)
{
    const DWORD twelve = 12, minusOne = DWORD(-1), seven = 7;
    const BYTE binary[] = {1, 2, 3};
    setByHand(L"count_int", REG_DWORD, &twelve, sizeof twelve);       // a DWORD reads as its number
    setByHand(L"xsw", REG_DWORD, &minusOne, sizeof minusOne);         // as a signed one
    setByHand(L"isInt", REG_DWORD, &seven, sizeof seven);             // no check box state
    setByHand(L"charSpec", REG_BINARY, binary, sizeof binary);        // no text
    core = open();
    EXPECT_EQ(core->getConfigInt(opt::count_int), 12);
    EXPECT_EQ(core->getConfigStr(opt::count_int), "12");
    EXPECT_EQ(core->getConfigInt(opt::xsw), -1);
    EXPECT_EQ(core->getConfigB(opt::isInt), 1);
    EXPECT_EQ(core->getConfigStr(opt::charSpec), "!@#$%^&*");
}

} // namespace

#include "platform/registry_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "model/error.h"
#include "platform/setting_text.h"

namespace qm::platform {
namespace {

const std::string kSettingsPath = "\\Software\\zmx\\QMK";

// A key of the test's own (tests run in parallel, sharing one registry),
// gone before and after the test.
class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = "Software\\QuillmarkTests\\" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    std::optional<RegistryStore::Key> opened = store.createKey("\\" + path);
    ASSERT_TRUE(opened);
    key = *opened;
  }
  void TearDown() override {
    store.closeKey(key);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  }

  // Sets a value by hand, as another program might have.
  void put(const char* name, DWORD type, std::string_view bytes) {
    HKEY handle = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &handle), ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    ::RegCloseKey(handle);
  }

  // The setting as the program reads it, or the message of the error raised.
  std::string read(const std::string& name) {
    std::optional<RegistryValue> value = store.queryValue(key, name);
    try {
      return value ? settingText(name, value->type, value->data) : "";
    } catch (const Error& error) {
      return error.what();
    }
  }

  RegistryStore store;
  std::string path;
  RegistryStore::Key key = 0;
};

TEST(RegistryStore, TheSettingsKeyIsCreatedWithItsParentsOnTheFirstRead) {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\zmx");
  RegistryStore store;
  std::optional<RegistryStore::Key> key = store.createKey(kSettingsPath);
  ASSERT_TRUE(key);
  EXPECT_FALSE(store.queryValue(*key, "DefaultDir"));
  store.closeKey(*key);
  HKEY handle = nullptr;
  EXPECT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\zmx\\QMK", 0, KEY_READ, &handle), ERROR_SUCCESS);
  ::RegCloseKey(handle);
  EXPECT_FALSE(store.createKey("\\"));  // the user's root is not a settings key
}

TEST_F(RegistryStoreTest, ValuesReadByTheSettingsRules) {
  const std::string dword("\x2a\0\0\0", 4);
  const std::string expandable("%USERPROFILE%\\lists\0", 20);
  struct Case {
    const char* name;
    DWORD type;
    std::string bytes;
    std::string reads;
  } cases[] = {
      {"DefaultDir", REG_DWORD, dword, "Invalid data type for 'DefaultDir'"},
      {"ColorScheme", REG_BINARY, "\x01\x02", "Invalid data type for 'ColorScheme'"},
      {"Expandable", REG_EXPAND_SZ, expandable, "%USERPROFILE%\\lists"},
      {"EmptyText", REG_SZ, "", ""},
      {"EmptyNumber", REG_DWORD, "", ""},  // size 0: empty, whatever the type
      {"UpToZero", REG_SZ, std::string("ab\0cd\0", 6), "ab"},
  };
  for (const Case& c : cases) put(c.name, c.type, c.bytes);
  for (const Case& c : cases) EXPECT_EQ(read(c.name), c.reads) << c.name;
  EXPECT_EQ(read("Missing"), "");
}

TEST_F(RegistryStoreTest, WritesReplaceTheValuesAsTextWithOneZeroByte) {
  put("DefaultDir", REG_DWORD, std::string("\x2a\0\0\0", 4));
  put("ColorScheme", REG_SZ, std::string("Windows\0", 8));
  ASSERT_TRUE(store.setTextValue(key, "DefaultDir", "C:\\B\u00fcro"));
  ASSERT_TRUE(store.setTextValue(key, "ColorScheme", "SkyBlue"));
  EXPECT_EQ(read("DefaultDir"), "C:\\B\u00fcro");
  wchar_t stored[16] = {};  // as a program using the wide calls sees it
  DWORD size = sizeof stored;
  EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, std::wstring(path.begin(), path.end()).c_str(), L"DefaultDir",
                           RRF_RT_REG_SZ, nullptr, stored, &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(stored, L"C:\\B\u00fcro");
  std::optional<RegistryValue> scheme = store.queryValue(key, "ColorScheme");
  ASSERT_TRUE(scheme);
  EXPECT_EQ(scheme->type, DWORD{REG_SZ});
  EXPECT_EQ(scheme->data, std::string("SkyBlue\0", 8));

  ASSERT_TRUE(store.setTextValue(key, "DefaultDir", ""));  // stored as typed
  EXPECT_EQ(store.queryValue(key, "DefaultDir")->data, std::string(1, '\0'));
  // A character the system code page has no form for is refused, not stored
  // as a question mark.
  EXPECT_EQ(store.setTextValue(key, "DefaultDir", "\u2713"), ::GetACP() == CP_UTF8);
}

TEST_F(RegistryStoreTest, AClosedKeyReadsNothingAndTakesNoWrites) {
  store.closeKey(key);
  EXPECT_FALSE(store.queryValue(key, "DefaultDir"));
  EXPECT_FALSE(store.setTextValue(key, "DefaultDir", "x"));
  key = *store.createKey(path);
}

}  // namespace
}  // namespace qm::platform

// SPDX-License-Identifier: MIT
// The Windows registry layer on the real registry, played through the main window on the
// in-memory platform: the values as stored, the code page's bytes kept exactly, and the current
// user's key where the machine's is refused. Each test works under a key of its own below
// HKEY_CURRENT_USER, which stands in for both roots.
#include "settings/win32/win32_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/settings_record.h"
#include "tests/support/main_dialog_fixture.h"

namespace qup::settings {
namespace {

using namespace qup::ui;

const std::wstring kKeyPath = L"Software\\Kestrane\\QU";

std::wstring TestRootPath() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) c = (c == '/') ? '_' : c;
  return L"Software\\QupRegistryTests\\" + std::wstring(name.begin(), name.end());
}

// A registry whose system calls are refused for lack of access under the roots a test names,
// as a standard user's are under HKEY_LOCAL_MACHINE.
class RefusingRegistry : public WinRegistry {
 public:
  using WinRegistry::WinRegistry;
  bool refuse_machine = false;
  bool refuse_user = false;

 protected:
  long OpenSystemKey(RegKey root, const std::wstring& path, std::uint32_t access,
                     RegKey& key) override {
    if (Refused(root)) return ERROR_ACCESS_DENIED;
    return WinRegistry::OpenSystemKey(root, path, access, key);
  }
  long CreateSystemKey(RegKey root, const std::wstring& path, RegKey& key) override {
    if (Refused(root)) return ERROR_ACCESS_DENIED;
    return WinRegistry::CreateSystemKey(root, path, key);
  }

 private:
  bool Refused(RegKey root) const {
    return (root == MachineRoot() && refuse_machine) || (root == UserRoot() && refuse_user);
  }
};

class WinRegistryTest : public test_support::MainDialogFixture {
 protected:
  void SetUp() override {
    root_path_ = TestRootPath();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, root_path_.c_str());
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (root_path_ + L"\\Machine").c_str(), 0, nullptr,
                                0, KEY_ALL_ACCESS, nullptr, &machine_, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (root_path_ + L"\\User").c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &user_, nullptr),
              ERROR_SUCCESS);
    store_ = std::make_unique<RefusingRegistry>(
        WinRegistry::Roots{reinterpret_cast<RegKey>(machine_), reinterpret_cast<RegKey>(user_)});
  }
  void TearDown() override {
    ::RegCloseKey(machine_);
    ::RegCloseKey(user_);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, root_path_.c_str());
  }

  // The registry's messages shown so far.
  std::size_t RegErrors() const {
    return static_cast<std::size_t>(
        std::count_if(MessageBoxes().begin(), MessageBoxes().end(),
                      [](const auto& box) { return box.caption == "Reg Error"; }));
  }

  // A new run of the program, on the 1099 page.
  void Start() {
    Open(*store_);
    ShowTab(k1099Page);
  }

  // A value as the registry holds it under one root: its type and UTF-16 text; type 0 when the
  // value or its key is missing.
  struct Stored {
    DWORD type = 0;
    std::wstring text;
  };
  static Stored Read(HKEY root, const wchar_t* name) {
    Stored stored;
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    if (::RegGetValueW(root, kKeyPath.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &stored.type, text,
                       &size) != ERROR_SUCCESS) {
      return {};
    }
    stored.text.assign(text, size / sizeof(wchar_t));
    return stored;
  }
  static void Write(HKEY root, const wchar_t* name, const std::wstring& text) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(root, kKeyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
  }
  // The user replaces the rate with 50, calculates and closes the window.
  void SaveRate50() {
    window().SetText(kRate1099Edit, "");
    window().Type(kRate1099Edit, "50");
    window().Click(kCalculate1099Button);
    window().Close();
  }

  std::wstring root_path_;
  HKEY machine_ = nullptr;
  HKEY user_ = nullptr;
  std::unique_ptr<RefusingRegistry> store_;
};

// Eight REG_SZ values of 16 characters each, the unused end zeros, which `reg query` in the
// settings transcripts does not show.
TEST_F(WinRegistryTest, FirstRunWritesEightValuesOf16Characters) {
  Start();
  EXPECT_TRUE(MessageBoxes().empty());
  for (const wchar_t* name :
       {L"HourlyRate", L"SocSec", L"StTax", L"FedTax", L"WorkComp", L"Insur", L"Health"}) {
    const Stored stored = Read(machine_, name);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ)) << name;
    EXPECT_EQ(stored.text, std::wstring(16, L'\0')) << name;
  }
  EXPECT_EQ(Read(machine_, L"Radios").text, L"101010" + std::wstring(10, L'\0'));
}

// The program's bytes are Windows-1252 whatever the system's code page: they are stored as the
// characters they stand for, the five the code page leaves undefined included, and come back
// byte for byte. A value too long for the buffer fails and leaves the buffer alone.
TEST_F(WinRegistryTest, KeepsWindows1252BytesExactly) {
  RegKey key = 0;
  ASSERT_TRUE(store_->CreateKey(kHkeyLocalMachine, "Software\\Kestrane\\QU", key));
  const std::vector<std::uint8_t> bytes = {'A', 0x80, 0xE9, 0x81, 0x9D, 0xFF, 0};
  ASSERT_TRUE(store_->SetValue(key, "FedTax", kRegSz, bytes));
  EXPECT_TRUE(store_->FlushKey(key));
  EXPECT_EQ(Read(machine_, L"FedTax").text,
            std::wstring(L"A\u20AC\u00E9\u0081\u009D\u00FF") + L'\0');

  std::vector<std::uint8_t> buffer(16, 0xAA);
  std::size_t size = buffer.size();
  ASSERT_TRUE(store_->QueryValue(key, "FedTax", buffer, size));
  EXPECT_EQ(size, bytes.size());
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 7), bytes);

  std::vector<std::uint8_t> small(4, 0xAA);
  size = small.size();
  EXPECT_FALSE(store_->QueryValue(key, "FedTax", small, size));
  EXPECT_EQ(size, bytes.size());
  EXPECT_EQ(small, std::vector<std::uint8_t>(4, 0xAA));
  EXPECT_FALSE(store_->QueryValue(key, "Missing", buffer, size));
  store_->CloseKey(key);
}

// Where the machine's key is refused, the user's key serves silently, from the first start on;
// where the machine's key exists and may be used, it stays the one used.
struct FallbackRow {
  const char* name;
  bool refuse_machine;
  bool machine_has_key;  // with HourlyRate 75, before the first start
  bool user_has_key;     // with HourlyRate 25, before the first start
  const char* rate_shown;
  bool saved_for_user;  // where the closing save lands: the user's key, else the machine's
};

void PrintTo(const FallbackRow& row, std::ostream* os) { *os << row.name; }

class FallbackTest : public WinRegistryTest, public ::testing::WithParamInterface<FallbackRow> {};

TEST_P(FallbackTest, UsesTheUsersKeyOnlyWhereTheMachinesWillNotDo) {
  const FallbackRow& row = GetParam();
  if (row.machine_has_key) Write(machine_, L"HourlyRate", L"75");
  if (row.user_has_key) Write(user_, L"HourlyRate", L"25");
  store_->refuse_machine = row.refuse_machine;

  Start();
  EXPECT_TRUE(MessageBoxes().empty());
  EXPECT_EQ(Text(kRate1099Edit), row.rate_shown);
  SaveRate50();
  EXPECT_EQ(RegErrors(), 0u);
  HKEY saved = row.saved_for_user ? user_ : machine_;
  HKEY other = row.saved_for_user ? machine_ : user_;
  EXPECT_EQ(Read(saved, L"HourlyRate").text, L"50" + std::wstring(14, L'\0'));
  EXPECT_NE(Read(other, L"HourlyRate").text.substr(0, 2), L"50");

  Start();
  EXPECT_EQ(Text(kRate1099Edit), "50");
}

INSTANTIATE_TEST_SUITE_P(
    Roots, FallbackTest,
    ::testing::Values(
        FallbackRow{"MachineRefusedFirstRun", true, false, false, "", true},
        FallbackRow{"MachineRefusedUserKeyFromEarlierRun", true, false, true, "25", true},
        FallbackRow{"MachineRefusedThoughItHasTheKey", true, true, true, "25", true},
        FallbackRow{"MachineAllowedFirstRun", false, false, false, "", false},
        FallbackRow{"MachineKeyWinsOverUsers", false, true, true, "75", false},
        FallbackRow{"MachineAllowedButOnlyUserHasKey", false, false, true, "25", true}),
    [](const auto& info) { return info.param.name; });

// When neither key may be used, the start says so once, and Close says and writes nothing. (The
// message itself is the transcript blocked_folder's.)
TEST_F(WinRegistryTest, BothRefusedIsReportedOnceAndCloseIsSilent) {
  store_->refuse_machine = true;
  store_->refuse_user = true;
  Start();
  EXPECT_EQ(RegErrors(), 1u);
  EXPECT_EQ(window().GetCheck(kWorkCompPercentRadio), 1);
  SaveRate50();
  EXPECT_TRUE(window().Ended());
  EXPECT_EQ(RegErrors(), 1u);
  EXPECT_EQ(Read(machine_, L"HourlyRate").type, 0u);
  EXPECT_EQ(Read(user_, L"HourlyRate").type, 0u);
}

// A failure other than refused access under the machine's root is not hidden by the user's key.
TEST_F(WinRegistryTest, OnlyRefusedAccessFallsBackOnCreate) {
  struct Failing : RefusingRegistry {
    using RefusingRegistry::RefusingRegistry;
    long CreateSystemKey(RegKey root, const std::wstring& path, RegKey& key) override {
      if (root == MachineRoot()) return ERROR_FILE_NOT_FOUND;
      return RefusingRegistry::CreateSystemKey(root, path, key);
    }
  } failing(
      WinRegistry::Roots{reinterpret_cast<RegKey>(machine_), reinterpret_cast<RegKey>(user_)});
  RegKey key = 0;
  EXPECT_FALSE(failing.CreateKey(kHkeyLocalMachine, "Software\\Kestrane\\QU", key));
  EXPECT_EQ(Read(user_, L"HourlyRate").type, 0u);
}

}  // namespace
}  // namespace qup::settings

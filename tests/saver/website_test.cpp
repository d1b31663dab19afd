// The "Website" button: the browser registered for http starts with the product's page, and a
// registered command that cannot hold the address starts nothing.
#include <gtest/gtest.h>

#include <string>

#include "saver/config_dialog.h"
#include "saver/dialog_ids.h"
#include "tests/saver/settings_test_support.h"

namespace {

constexpr WCHAR kCommandKey[] = L"http\\shell\\open\\command";

std::wstring ToWide(const std::string& utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], size);
  return wide;
}

class Website : public ::testing::Test {
 protected:
  void SetUp() override {
    WCHAR temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    // One log per test: a browser started late by an earlier test must not answer for this one.
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    logPath = std::wstring(temp) + L"vq_fake_browser_" + std::wstring(test.begin(), test.end()) + L".log";
    DeleteFileW(logPath.c_str());
    SetEnvironmentVariableW(L"VQ_FAKE_BROWSER_LOG", logPath.c_str());
    browser = L"\"" + FakeBrowserPath() + L"\"";
    ASSERT_NE(GetFileAttributesW(FakeBrowserPath().c_str()), INVALID_FILE_ATTRIBUTES);
  }
  void TearDown() override { DeleteFileW(logPath.c_str()); }

  void RegisterCommand(const std::wstring& command) {
    RegisterRaw(command.c_str(), static_cast<DWORD>((command.size() + 1) * sizeof(WCHAR)));
  }
  void RegisterRaw(const WCHAR* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, kCommandKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    RegCloseKey(key);
  }

  // The command line the fake browser was started with.
  std::wstring StartedCommandLine() {
    if (!PumpUntil([&] { return GetFileAttributesW(logPath.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000)) return L"";
    HANDLE file = CreateFileW(logPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return L"";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return ToWide(bytes);
  }

  std::wstring logPath;
  std::wstring browser;
};

TEST_F(Website, QuotedPlaceholderTakesTheAddressInsideTheQuotes) {
  RegisterCommand(browser + L" -osint -url \"%1\"");
  ASSERT_TRUE(OpenUrlWithBrowser(L"https://example.test/page?a=1"));
  EXPECT_EQ(StartedCommandLine(), browser + L" -osint -url \"https://example.test/page?a=1\"");
}

TEST_F(Website, CommandWithoutQuotedPlaceholderGetsTheAddressAppended) {
  RegisterCommand(browser + L" -new-tab");
  ASSERT_TRUE(OpenUrlWithBrowser(L"https://example.test/"));
  EXPECT_EQ(StartedCommandLine(), browser + L" -new-tab https://example.test/");
}

TEST_F(Website, LongCommandStillGetsTheWholeAddressAppended) {
  const std::wstring command = browser + L" " + std::wstring(259 - browser.size() - 1, L'x');
  ASSERT_EQ(command.size(), 259u);  // the longest command the registry buffer holds
  const std::wstring url = L"https://example.test/" + std::wstring(120, L'p');
  RegisterCommand(command);
  ASSERT_TRUE(OpenUrlWithBrowser(url.c_str()));
  EXPECT_EQ(StartedCommandLine(), command + L" " + url);
}

TEST_F(Website, CommandsThatCannotHoldTheAddressStartNothing) {
  // The placeholder form would have to cut the address and its closing quote.
  const std::wstring padded = browser + L" " + std::wstring(150, L'y') + L" \"%1\"";
  RegisterCommand(padded);
  const std::wstring url = L"https://example.test/" + std::wstring(120, L'q');
  EXPECT_FALSE(OpenUrlWithBrowser(url.c_str()));

  // A stored command of exactly 260 characters has no room for its terminator.
  std::wstring full = browser + L" " + std::wstring(260 - browser.size() - 1, L'z');
  ASSERT_EQ(full.size(), 260u);
  RegisterRaw(full.data(), 260 * sizeof(WCHAR));
  EXPECT_FALSE(OpenUrlWithBrowser(L"https://example.test/"));

  // Longer still: the registry refuses the read.
  RegisterCommand(full + L"zzzz");
  EXPECT_FALSE(OpenUrlWithBrowser(L"https://example.test/"));

  // Nothing registered at all.
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kCommandKey);
  RegDeleteKeyW(HKEY_CLASSES_ROOT, kCommandKey);
  EXPECT_FALSE(OpenUrlWithBrowser(L"https://example.test/"));
}

TEST_F(Website, ButtonOpensTheProductPageWithItsCampaignQuery) {
  RegisterCommand(browser + L" \"%1\"");
  TestSaver saver;
  saver.AddMonitorWithAdapter({});
  HWND dialog = CreateModelessDialog(IDD_CONFIGURATION, ConfigDialogThunk);
  ASSERT_TRUE(dialog);
  Click(dialog, IDC_WEBSITE);
  const std::wstring started = StartedCommandLine();
  DestroyWindow(dialog);

  EXPECT_EQ(started, browser + L" \"" + kProductWebPage + L"\"");
  const std::wstring query = L"?utm_source=screensaver&utm_medium=website&utm_campaign=customer_content&utm_nooverride=1";
  const std::wstring page = kProductWebPage;
  ASSERT_GT(page.size(), query.size());
  EXPECT_EQ(page.substr(page.size() - query.size()), query);
  EXPECT_EQ(page.rfind(L"https://", 0), 0u);
}

}  // namespace

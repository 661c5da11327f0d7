#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ui/open_url.h"

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path) << text;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool waitFor(const fs::path& path) {
  for (int i = 0; i < 200 && !fs::exists(path); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return fs::exists(path);
}

// A desktop of its own: the real xdg-open, with a fake browser registered as
// the handler of http URLs. The browser waits for the file "go", then writes
// its arguments, each ended by a zero byte, to "arguments".
class open_url_test : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/korvale-xdg-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    fs::create_directories(root / "config");
    fs::create_directories(root / "data/applications");
    writeFile(root / "browser",
              "#!/bin/sh\n"
              "cd \"$(dirname \"$0\")\" || exit 1\n"
              "i=0; while [ ! -e go ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
              "printf '%s\\0' \"$@\" > arguments.part && mv arguments.part arguments\n");
    fs::permissions(root / "browser", fs::perms::owner_all);
    writeFile(root / "data/applications/fake-browser.desktop",
              "[Desktop Entry]\nType=Application\nName=Fake browser\nExec=" +
                  (root / "browser").string() + " %u\n");
    writeFile(root / "config/mimeapps.list",
              "[Default Applications]\nx-scheme-handler/http=fake-browser.desktop\n");

    const std::pair<const char*, std::string> environment[] = {
        {"XDG_CONFIG_HOME", (root / "config").string()},
        {"XDG_CONFIG_DIRS", (root / "config").string()},
        {"XDG_DATA_HOME", (root / "data").string()},
        {"XDG_DATA_DIRS", (root / "data").string()},
        {"DISPLAY", std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : ":4079"},
    };
    for (const auto& [name, value] : environment) set(name, value.c_str());
    // No desktop, so xdg-open goes by the XDG configuration alone.
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "BROWSER"}) {
      set(name, nullptr);
    }
  }
  void TearDown() override {
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
    fs::remove_all(root);
  }

  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }

  fs::path root;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

}  // namespace

TEST_F(open_url_test, xdg_open_hands_the_url_to_the_browser_as_one_argument) {
  // Shell syntax and a Chinese character (code page 936), none of which may be read.
  const std::string marker = (root / "ran").string();
  const Text url("http://127.0.0.1/a b?q='x\"y'&r=$(touch " + marker + ")`touch " + marker +
                 "`;|*\xB0\xA1");
  openUrl(url);
  // Returned without waiting: the browser is still waiting for "go".
  EXPECT_FALSE(fs::exists(root / "arguments"));
  writeFile(root / "go", "");
  ASSERT_TRUE(waitFor(root / "arguments"));
  EXPECT_EQ(readFile(root / "arguments"), "http://127.0.0.1/a b?q='x\"y'&r=$(touch " + marker +
                                              ")`touch " + marker + "`;|*\xE5\x95\x8A" +
                                              std::string(1, '\0'));  // 啊 in UTF-8
  EXPECT_FALSE(fs::exists(marker));
}

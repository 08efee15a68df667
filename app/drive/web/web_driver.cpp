// SPDX-License-Identifier: MIT
// WebDriver: each command through web_driver.js, then what the page did in answer.
#include "app/drive/web/web_driver.h"

#include <array>
#include <string_view>
#include <vector>

extern "C" {
int qup_web_launch(const char* site);
int qup_web_start();
int qup_web_settle();
int qup_web_message_box(int press, char* buffer, int size);
int qup_web_opened_url(char* buffer, int size);
int qup_web_state(int id, char* buffer, int size);
int qup_web_click(int id);
int qup_web_type(int id, const char* text);
int qup_web_keys(const char* text);
int qup_web_key(const char* name);
int qup_web_entries(int id);
int qup_web_pick(int id, int entry);
int qup_web_tab(int tab);
int qup_web_close();
int qup_web_screenshot(const char* path);
int qup_web_stop();
}

namespace qup::drive {

namespace {

// Texts the page hands back: a message box's, a control's state; long enough for the longest
// (the About text).
constexpr int kTextSize = 1 << 16;

std::vector<std::string_view> Fields(std::string_view text) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find('\x1f', start);
    fields.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

int Number(std::string_view text) { return std::stoi(std::string(text)); }

}  // namespace

std::string WebDriver::Help() {
  return drive::Help("Runs the web page in headless Chromium (scripts/drive-web.sh) and\n");
}

WebDriver::WebDriver(const std::string& site) : launched_(qup_web_launch(site.c_str()) != 0) {}

WebDriver::~WebDriver() { qup_web_stop(); }

void WebDriver::Run(int line_number, const std::string& line) {
  const std::optional<CommandLine> command = session_.Take(line_number, line);
  if (!command) return;
  const auto& [verb, args] = *command;
  switch (verb) {
    case Verb::kResolve:
    case Verb::kBoxes:
      return;
    case Verb::kStart:
      Start();
      break;
    case Verb::kTab:
      Tab(args);
      break;
    case Verb::kClick:
      Click(args);
      break;
    case Verb::kType:
      Type(args);
      break;
    case Verb::kKeys:
      Keys(args);
      break;
    case Verb::kKey:
      Key(args);
      break;
    case Verb::kPick:
      Pick(args);
      break;
    case Verb::kClose:
      Close();
      break;
    case Verb::kMenu:
      // A page has no window menu.
      if (session_.HasWindow(session_.Running())) session_.MenuOpened(false);
      return;
    case Verb::kShow:
      Show(args);
      return;
    case Verb::kScreenshot:
      Screenshot(args);
      return;
  }
  Settle();
}

void WebDriver::Settle() {
  if (!session_.Running()) return;
  std::vector<char> text(kTextSize);
  for (;;) {
    const bool open = qup_web_settle() != 0;
    std::array<char, 2048> url{};
    while (qup_web_opened_url(url.data(), static_cast<int>(url.size())) != 0) {
      session_.Print(UrlLine(url.data()));
    }
    if (!open) {
      session_.End();
      return;
    }
    const bool press = session_.PressesMessageBoxes();
    if (qup_web_message_box(press ? 1 : 0, text.data(), kTextSize) == 0) return;
    const std::vector<std::string_view> box = Fields(text.data());
    session_.Print(MessageBoxLine(Number(box.at(0)), box.at(1), box.at(2)));
    if (!press) return;
  }
}

void WebDriver::Start() {
  if (!session_.Begin()) return;
  if (qup_web_start() == 0) {
    session_.Fail("the page showed no window");
    session_.End();
  }
}

std::optional<ShownControl> WebDriver::Shown(int id) {
  std::vector<char> text(kTextSize);
  const int found = qup_web_state(id, text.data(), kTextSize);
  if (!session_.HasWindow(found >= 0) || !session_.HasControl(id, found > 0)) return std::nullopt;
  const std::vector<std::string_view> fields = Fields(text.data());
  return ShownControl{std::string(fields.at(0)), Number(fields.at(1)) != 0,
                      Number(fields.at(2)) != 0, Number(fields.at(3)) != 0,
                      Number(fields.at(4)),      Number(fields.at(5))};
}

bool WebDriver::Reachable(int id) {
  const std::optional<ShownControl> shown = Shown(id);
  return shown && session_.IsReachable(id, shown->visible && shown->enabled);
}

void WebDriver::Tab(const Arguments& args) {
  if (!session_.HasWindow(session_.Running())) return;
  const int count = qup_web_tab(args.number);
  session_.HasTab(args.number, count > 0, count);
}

void WebDriver::Click(const Arguments& args) {
  const std::optional<ShownControl> shown = Shown(args.id);
  // A hidden or disabled control takes no click, as with a mouse.
  if (shown && shown->visible && shown->enabled) qup_web_click(args.id);
}

void WebDriver::Type(const Arguments& args) {
  const std::optional<std::string> keys = session_.KeysOf(args.text);
  if (keys && Reachable(args.id)) qup_web_type(args.id, keys->c_str());
}

void WebDriver::Keys(const Arguments& args) {
  const std::optional<std::string> keys = session_.KeysOf(args.text);
  if (keys && session_.HasWindow(session_.Running())) qup_web_keys(keys->c_str());
}

void WebDriver::Key(const Arguments& args) {
  const std::optional<std::size_t> index = session_.KeyNamed(args.text);
  if (index && session_.HasWindow(session_.Running())) {
    qup_web_key(std::string(kKeyNames[*index]).c_str());
  }
}

void WebDriver::Pick(const Arguments& args) {
  if (!Shown(args.id)) return;
  const int count = qup_web_entries(args.id);
  if (!session_.CanPick(args.id, count >= 0, args.number, count) || !Reachable(args.id)) return;
  session_.ListOpened(args.id, qup_web_pick(args.id, args.number) != 0);
}

void WebDriver::Close() {
  if (session_.HasWindow(session_.Running())) qup_web_close();
}

void WebDriver::Show(const Arguments& args) {
  if (const std::optional<ShownControl> shown = Shown(args.id)) {
    session_.Print(ShowLine(args.id, *shown));
  }
}

void WebDriver::Screenshot(const Arguments& args) {
  if (session_.HasWindow(session_.Running())) {
    session_.Wrote(args.text, qup_web_screenshot(args.text.c_str()) != 0);
  }
}

}  // namespace qup::drive

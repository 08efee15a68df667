// SPDX-License-Identifier: MIT
// Fuzz target: any content of the store file, read at start through the file registry, then the
// page's texts saved and read back.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "fuzz/fields.h"
#include "fuzz/property.h"
#include "settings/qt/file_registry.h"
#include "settings/reg_export.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "ui/platform/memory/memory_platform.h"

namespace {

namespace settings = qup::settings;
using qup::fuzz::Fields;
using settings::SettingsRecord;

constexpr std::string_view kKeyName = R"(HKEY_LOCAL_MACHINE\Software\Kestrane\QU)";

// One private folder per run of the fuzzer, removed when it ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qup-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File() const { return path_ + "/QU.reg"; }

 private:
  std::string path_;
};

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using Slots = std::array<SettingsRecord::Bytes, settings::kSlotCount>;

Slots SlotsOf(const SettingsRecord& record) {
  Slots slots{};
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const auto data = record.Data(static_cast<settings::Slot>(i));
    std::copy(data.begin(), data.end(), slots[i].begin());
  }
  return slots;
}

// Loads the file into a record that starts from the defaults, as at every start.
Slots Load(const std::string& path) {
  SettingsRecord::Instance().ResetToDefaults();
  settings::FileRegistry registry(path);
  qup::ui::MemoryPlatform platform;
  settings::LoadSettings(registry, platform);
  QUP_PROPERTY(platform.message_boxes().empty(), platform.message_boxes().front().text);
  return SlotsOf(SettingsRecord::Instance());
}

// What reading the file must give: the defaults, with each value that is there and fits its
// 16 bytes copied over the start of its slot.
Slots Expected(const settings::RegExport& parsed) {
  Slots slots = SlotsOf(SettingsRecord());
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const settings::RegValue* value = parsed.Find(settings::kSlots[i].value_name);
    if (value != nullptr && value->data.size() <= settings::kSlotSize) {
      std::copy(value->data.begin(), value->data.end(), slots[i].begin());
    }
  }
  return slots;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFolder folder;
  const std::string path = folder.File();
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }

  // Whatever the file holds, what the reader takes from it it would write back the same.
  const settings::RegExport parsed = settings::RegExport::Parse(content, kKeyName);
  const std::string written = parsed.Format(kKeyName);
  QUP_PROPERTY(settings::RegExport::Parse(written, kKeyName).Values() == parsed.Values(), written);

  // Reading at start takes every value that fits, and changes nothing on disk.
  QUP_PROPERTY(Load(path) == Expected(parsed), content);
  QUP_PROPERTY(ReadWhole(path) == content, "the file changed on loading");

  // The page's texts (the input's lines) and radio buttons, saved at close, read back the same.
  SettingsRecord& record = SettingsRecord::Instance();
  const std::vector<std::string_view> lines = Fields(content, settings::kTextSlotCount);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    record.SetText(static_cast<settings::Slot>(i), lines[i]);
  }
  std::array<bool, settings::kRadioCount> radios{};
  for (std::size_t i = 0; i < radios.size(); ++i) radios[i] = (size >> i) & 1;
  record.SetRadios(radios);
  const Slots saved = SlotsOf(record);
  {
    settings::FileRegistry registry(path);
    settings::SaveSettings(registry);
  }
  const settings::RegExport on_disk = settings::RegExport::Parse(ReadWhole(path), kKeyName);
  for (const settings::SlotInfo& slot : settings::kSlots) {
    const settings::RegValue* value = on_disk.Find(slot.value_name);
    QUP_PROPERTY(value != nullptr && value->type == settings::kRegSz &&
                     value->data.size() == settings::kSlotSize,
                 slot.value_name);
  }
  QUP_PROPERTY(Load(path) == saved, ReadWhole(path));
  return 0;
}

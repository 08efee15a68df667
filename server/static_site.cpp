// SPDX-License-Identifier: MIT
// The web calculators' files, served from one folder at the server's home page.
#include "server/static_site.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace qup::server {
namespace {

struct Type {
  std::string_view ending;
  std::string_view content_type;
};

// The files a web build of the program makes; nothing that could be taken for another kind.
constexpr std::array kTypes{
    Type{".html", "text/html; charset=utf-8"},
    Type{".js", "text/javascript"},
    Type{".css", "text/css"},
    Type{".wasm", "application/wasm"},
    Type{".png", "image/png"},
    Type{".webmanifest", "application/manifest+json"},
};

std::optional<std::string> ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<std::string_view> SiteContentType(std::string_view name) {
  for (const Type& type : kTypes) {
    if (name.size() > type.ending.size() && name.ends_with(type.ending)) return type.content_type;
  }
  return std::nullopt;
}

void StaticSite::Load(const std::string& folder) {
  files_.clear();
  note_.clear();
  if (folder.empty()) return;
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    // The package's folder is missing wherever the site is not installed: no news.
    if (folder != kDefaultSiteFolder) note_ = folder + ": no such folder";
    return;
  }
  std::map<std::string, SiteFile, std::less<>> files;
  std::size_t total = 0;
  std::filesystem::directory_iterator entry(folder, ec);
  for (; !ec && entry != std::filesystem::directory_iterator(); entry.increment(ec)) {
    const std::string name = entry->path().filename().string();
    const std::optional<std::string_view> type = SiteContentType(name);
    if (name.starts_with('.') || !type || !entry->is_regular_file(ec)) continue;
    std::optional<std::string> bytes = ReadWhole(entry->path());
    if (!bytes) {
      note_ = entry->path().string() + ": cannot be read";
      return;
    }
    total += bytes->size();
    if (total > kSiteByteLimit) {
      note_ = folder + ": more than " + std::to_string(kSiteByteLimit >> 20) +
              " MiB of files, not served";
      return;
    }
    files.emplace(name, SiteFile{*type, std::move(*bytes)});
  }
  if (ec) {
    note_ = folder + ": " + ec.message();
    return;
  }
  if (!files.contains("index.html")) {
    note_ = folder + ": no index.html, not served";
    return;
  }
  files_ = std::move(files);
}

const SiteFile* StaticSite::Find(std::string_view path) const {
  if (!path.starts_with('/')) return nullptr;
  std::string_view name = path.substr(1);
  if (name.empty()) name = "index.html";
  const auto found = files_.find(name);
  return found == files_.end() ? nullptr : &found->second;
}

}  // namespace qup::server

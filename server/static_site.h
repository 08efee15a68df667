// SPDX-License-Identifier: MIT
// The web calculators' files, served from one folder at the server's home page.
#ifndef QUP_SERVER_STATIC_SITE_H
#define QUP_SERVER_STATIC_SITE_H

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qup::server {

// Where the server's package installs the site.
inline constexpr const char* kDefaultSiteFolder = "/usr/share/qup-suggestd/site";

// The site's pages run WebAssembly and load their scripts, style, pictures, manifest and
// service worker from the server itself; nothing else, and no other site may frame them.
// The server's own pages keep their stricter policy.
inline constexpr const char* kSitePolicy =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; "
    "img-src 'self'; connect-src 'self'; manifest-src 'self'; worker-src 'self'; "
    "object-src 'none'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'";

// More than this in the folder is not a site but a mistaken --site: it is not served.
inline constexpr std::size_t kSiteByteLimit = std::size_t{64} * 1024 * 1024;

struct SiteFile {
  std::string_view content_type;
  std::string bytes;
};

// The Content-Type of a file the site may hold, by its name's ending; nothing for any other
// file, which is not served.
std::optional<std::string_view> SiteContentType(std::string_view name);

class StaticSite {
 public:
  // Reads the folder's files into memory: its regular files of a type the site may hold,
  // whose names do not start with a dot. Only a folder holding index.html makes a site; else
  // the site stays empty and the reason is in note (empty when the folder does not exist).
  // An empty folder name leaves the site off, without a note.
  void Load(const std::string& folder);

  bool Serving() const { return !files_.empty(); }
  std::size_t FileCount() const { return files_.size(); }
  const std::string& Note() const { return note_; }

  // The file for a request's path: "/" is index.html, "/NAME" the file NAME of the folder.
  // Nothing for any other path (sub-folders, escapes, dot files, unknown names).
  const SiteFile* Find(std::string_view path) const;

 private:
  std::map<std::string, SiteFile, std::less<>> files_;
  std::string note_;
};

}  // namespace qup::server

#endif  // QUP_SERVER_STATIC_SITE_H

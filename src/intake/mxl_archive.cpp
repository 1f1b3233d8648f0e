#include "intake/mxl_archive.h"

#include <algorithm>
#include <memory>
#include <pugixml.hpp>

namespace zelvo::intake {

namespace {

using Archive = std::unique_ptr<zip_t, decltype(&zip_discard)>;
using Entry = std::unique_ptr<zip_file_t, decltype(&zip_fclose)>;

enum class EntryRead { kRead, kMissing, kTooLarge };

// Reads one entry by name, stopping past `limit` bytes whatever the
// directory claims.
EntryRead read_entry(const ZipLibrary& zip, zip_t* archive, const char* name, int64_t limit, std::string& out) {
  Entry entry(zip.fopen(archive, name, 0), zip.fclose);
  if (!entry) return EntryRead::kMissing;
  out.clear();
  // Room for what the directory announces, within the limit, so that a
  // growing string never holds twice the limit.
  zip_stat_t stat;
  zip.stat_init(&stat);
  if (zip.stat(archive, name, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) != 0) {
    if (stat.size > static_cast<zip_uint64_t>(limit)) return EntryRead::kTooLarge;
    out.reserve(static_cast<size_t>(std::min<zip_uint64_t>(stat.size, limit + 1)));
  }
  char buffer[65536];
  while (true) {
    const zip_int64_t got = zip.fread(entry.get(), buffer, sizeof buffer);
    if (got < 0) return EntryRead::kMissing;
    if (got == 0) return EntryRead::kRead;
    if (static_cast<int64_t>(out.size()) + got > limit) return EntryRead::kTooLarge;
    out.append(buffer, static_cast<size_t>(got));
  }
}

}  // namespace

bool looks_like_zip(std::string_view bytes) { return bytes.starts_with("PK\x03\x04"); }

MxlResult unpack_mxl(std::string_view bytes, std::string& score) {
  return unpack_mxl(zip_library(), bytes, score);
}

MxlResult unpack_mxl(const ZipLibrary& zip, std::string_view bytes, std::string& score) {
  if (!zip.loaded) return MxlResult::kNoLibrary;
  zip_error_t error;
  zip.error_init(&error);
  zip_source_t* source = zip.source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (source == nullptr) {
    zip.error_fini(&error);
    return MxlResult::kBrokenArchive;
  }
  Archive archive(zip.open_from_source(source, ZIP_RDONLY, &error), zip.discard);
  zip.error_fini(&error);
  if (!archive) {
    zip.source_free(source);
    return MxlResult::kBrokenArchive;
  }
  std::string container;
  constexpr int64_t kMaxContainer = 1024 * 1024;
  if (read_entry(zip, archive.get(), "META-INF/container.xml", kMaxContainer, container) !=
      EntryRead::kRead) {
    return MxlResult::kNoContainer;
  }
  pugi::xml_document document;
  if (!document.load_buffer(container.data(), container.size())) return MxlResult::kNoContainer;
  const pugi::xml_node rootfile = document.select_node("//rootfile[@full-path]").node();
  const std::string path = rootfile.attribute("full-path").value();
  if (path.empty()) return MxlResult::kNoContainer;
  switch (read_entry(zip, archive.get(), path.c_str(), kMaxUnpackedScore, score)) {
    case EntryRead::kRead: return MxlResult::kRead;
    case EntryRead::kMissing: return MxlResult::kNoRootFile;
    case EntryRead::kTooLarge: return MxlResult::kTooLarge;
  }
  return MxlResult::kNoRootFile;
}

}  // namespace zelvo::intake

#include "media_sources.h"

#include <strings.h>

namespace qv::media::testing {

std::string MediaDir() { return QV_MEDIA_DIR; }

MediaSources::MediaSources(const std::string& part) {
  std::unique_ptr<fs::Env> env = fs::NewHostEnv();
  Result<std::vector<SourceFolder>> loaded = LoadSources(*env, MediaDir() + "/" + part);
  EXPECT_TRUE(loaded.ok()) << loaded.status().ToString();
  if (loaded.ok()) folders_ = std::move(loaded).value();
}

const SourceFolder* MediaSources::Folder(const std::string& path) const {
  for (const SourceFolder& f : folders_) {
    if (f.path == path) return &f;
  }
  return nullptr;
}

const TableSource* MediaSources::Table(const std::string& folder, const std::string& base) const {
  const SourceFolder* f = Folder(folder);
  if (f == nullptr) return nullptr;
  for (const TableSource& t : f->tables) {
    if (strcasecmp(t.BaseName().c_str(), base.c_str()) == 0) return &t;
  }
  return nullptr;
}

}  // namespace qv::media::testing

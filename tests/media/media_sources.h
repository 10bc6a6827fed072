// What the media tests share: the repository's media sources loaded through
// the build step's own loader, and lookups of folders and tables in them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "media_tree.h"
#include "platform/fs/env.h"

namespace qv::media::testing {

// The media sources of the repository (media/), loaded once per call.
class MediaSources {
 public:
  // Loads media/<part> ("cd" or "old"); a load failure fails the test.
  explicit MediaSources(const std::string& part);

  const std::vector<SourceFolder>& folders() const { return folders_; }
  // The folder at path relative to the part ("" for its root); null if none.
  const SourceFolder* Folder(const std::string& path) const;
  // The table whose file base name is base (any case) in folder; null if none.
  const TableSource* Table(const std::string& folder, const std::string& base) const;

 private:
  std::vector<SourceFolder> folders_;
};

// media/ in the repository.
std::string MediaDir();

}  // namespace qv::media::testing

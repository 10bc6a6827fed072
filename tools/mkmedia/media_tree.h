// The media sources as a tree: loading every folder's sources (tables with
// "same" resolved and dictionaries generated) and building the real media
// tree from them. A source file's suffix says what it becomes:
//   NAME.tbl     a table (table_source.h), written as its file name
//   NAME.pic     a picture (picture.h): NAME ends in .bmp or .ico
//   NAME.vars    a memory-variable file (mem_source.h): NAME ends in .mem
//   NAME.sample  the file NAME with these bytes (marked sample files)
//   .keep        nothing: it keeps an empty folder in the repository
//   index.bags   which index bags the folder's tables get from a file
//                dictionary: lines "filedict PATH" and "scope product|company"
// README.md files document the sources and are not copied.
#pragma once

#include <string>
#include <vector>

#include "bag_writer.h"
#include "platform/fs/env.h"
#include "platform/runtime/date.h"
#include "table_source.h"

namespace qv::media {

struct SourceFolder {
  std::string path;                 // relative to the root, "/"-separated; "" for the root
  std::vector<TableSource> tables;  // in name order
  std::vector<std::string> others;  // the other source files' names, in name order
  // From index.bags: the file dictionary whose bags the tables get (no rows
  // when the folder has none) and which of its tables it applies to.
  TableSource bag_dictionary;
  BagScope bag_scope = BagScope::kProduct;

  // Every tag of table: its own tag lines and what the dictionary describes.
  std::vector<TagDef> TagsOf(const TableSource& table) const;
};

// Every folder under root (host path), parents before children. A fault
// names the source file and line.
Result<std::vector<SourceFolder>> LoadSources(fs::Env& env, const std::string& root);

// Builds the tree of root into out (host path; created when missing,
// existing files replaced). today is stamped into every table header.
Status BuildTree(fs::Env& env, const std::string& root, const std::string& out, rt::Date today);

}  // namespace qv::media

#include "media_tree.h"

#include <algorithm>

#include "dictionary.h"
#include "mem_source.h"
#include "menu_soon.h"
#include "picture.h"
#include "source_text.h"
#include "table_writer.h"

namespace qv::media {

namespace {

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::string Join(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  return b.empty() ? a : a + "/" + b;
}

// Reads and parses one table source. "same PATH" takes the structure and
// rows of the source it names, "structure PATH" its structure (paths
// relative to the source's own folder); depth bounds chains of them.
Result<TableSource> LoadTable(fs::Env& env, const std::string& root, const std::string& rel,
                              int depth = 0) {
  if (depth > 4) return Status::InvalidArgument(rel + ": \"same\"/\"structure\" nested too deep");
  size_t slash = rel.find_last_of('/');
  std::string folder = slash == std::string::npos ? std::string() : rel.substr(0, slash);
  SourceLoader loader = [&](std::string_view path) {
    return LoadTable(env, root, Join(folder, std::string(path)), depth + 1);
  };
  QV_ASSIGN_OR_RETURN(std::string text, fs::ReadWholeFile(env, Join(root, rel)));
  QV_ASSIGN_OR_RETURN(TableSource table, ParseTableSource(text, rel, loader));
  if (table.same_as.empty()) return table;
  Result<TableSource> same = loader(table.same_as);
  if (!same.ok()) return Status::InvalidArgument(rel + ": same " + same.status().message());
  TableSource other = std::move(same).value();
  other.source = rel;
  other.file_name = table.file_name;
  return other;
}

// index.bags: "filedict PATH" and "scope product|company".
Status LoadBagConfig(fs::Env& env, const std::string& root, const std::string& rel,
                     SourceFolder* folder) {
  std::string src = Join(rel, "index.bags");
  QV_ASSIGN_OR_RETURN(std::string text, fs::ReadWholeFile(env, Join(root, src)));
  int number = 0;
  for (std::string_view raw : SplitLines(text)) {
    ++number;
    std::string_view line = TrimSpace(raw);
    if (line.empty() || line[0] == '#') continue;
    auto [word, value] = FirstWord(line);
    if (word == "filedict" && !value.empty()) {
      QV_ASSIGN_OR_RETURN(folder->bag_dictionary,
                          LoadTable(env, root, Join(rel, std::string(value))));
    } else if (word == "scope" && (value == "product" || value == "company")) {
      folder->bag_scope = value == "company" ? BagScope::kCompany : BagScope::kProduct;
    } else {
      return Status::InvalidArgument(src + ":" + std::to_string(number) +
                                     ": expected \"filedict PATH\" or \"scope product|company\"");
    }
  }
  return Status::OK();
}

Status LoadFolder(fs::Env& env, const std::string& root, const std::string& rel,
                  std::vector<SourceFolder>* out) {
  QV_ASSIGN_OR_RETURN(std::vector<fs::DirEntry> entries, env.List(Join(root, rel)));
  std::sort(entries.begin(), entries.end(),
            [](const fs::DirEntry& a, const fs::DirEntry& b) { return a.name < b.name; });
  SourceFolder folder;
  folder.path = rel;
  std::vector<std::string> subfolders;
  for (const fs::DirEntry& e : entries) {
    if (e.info.is_dir) {
      subfolders.push_back(e.name);
    } else if (EndsWith(e.name, ".tbl")) {
      QV_ASSIGN_OR_RETURN(TableSource t, LoadTable(env, root, Join(rel, e.name)));
      folder.tables.push_back(std::move(t));
    } else if (e.name == "index.bags") {
      QV_RETURN_IF_ERROR(LoadBagConfig(env, root, rel, &folder));
    } else if (e.name != "README.md") {
      folder.others.push_back(e.name);
    }
  }
  QV_RETURN_IF_ERROR(GenerateDictionaries(&folder.tables));
  out->push_back(std::move(folder));
  for (const std::string& sub : subfolders)
    QV_RETURN_IF_ERROR(LoadFolder(env, root, Join(rel, sub), out));
  return Status::OK();
}

// Writes one non-table source file into out_dir.
Status BuildOther(fs::Env& env, const std::string& src, const std::string& out_dir,
                  const std::string& name) {
  if (name == ".keep") return Status::OK();
  QV_ASSIGN_OR_RETURN(std::string text, fs::ReadWholeFile(env, src));
  std::string bytes;
  std::string target;
  if (EndsWith(name, ".sample")) {
    target = name.substr(0, name.size() - 7);
    bytes = std::move(text);
  } else if (EndsWith(name, ".pic")) {
    target = name.substr(0, name.size() - 4);
    QV_ASSIGN_OR_RETURN(Canvas canvas, DrawPicture(text, src));
    if (EndsWith(target, ".ico")) {
      if (canvas.width > 256 || canvas.height > 256) {
        return Status::InvalidArgument(src + ": an icon is at most 256 pixels");
      }
      bytes = EncodeIco(canvas);
    } else if (EndsWith(target, ".bmp")) {
      bytes = EncodeBmp(canvas);
    } else {
      return Status::InvalidArgument(src + ": a picture's name ends in .bmp or .ico");
    }
  } else if (EndsWith(name, ".vars")) {
    target = name.substr(0, name.size() - 5);
    QV_ASSIGN_OR_RETURN(bytes, BuildMemFile(text, src));
  } else {
    return Status::InvalidArgument(src + ": unknown kind of source (see media/README.md)");
  }
  return fs::WriteWholeFile(env, Join(out_dir, target), bytes, /*sync=*/false);
}

Status MakeDirs(fs::Env& env, const std::string& path) {
  if (env.Stat(path).ok()) return Status::OK();
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0)
    QV_RETURN_IF_ERROR(MakeDirs(env, path.substr(0, slash)));
  Status s = env.MakeDir(path);
  return s.code() == StatusCode::kExists ? Status::OK() : s;
}

}  // namespace

std::vector<TagDef> SourceFolder::TagsOf(const TableSource& table) const {
  std::vector<TagDef> tags = table.tags;
  std::vector<TagDef> described = TagsFromDictionary(bag_dictionary, table, bag_scope);
  tags.insert(tags.end(), described.begin(), described.end());
  return tags;
}

Result<std::vector<SourceFolder>> LoadSources(fs::Env& env, const std::string& root) {
  std::vector<SourceFolder> folders;
  QV_RETURN_IF_ERROR(LoadFolder(env, root, "", &folders));
  return folders;
}

Status BuildTree(fs::Env& env, const std::string& root, const std::string& out, rt::Date today) {
  QV_ASSIGN_OR_RETURN(std::vector<SourceFolder> folders, LoadSources(env, root));
  for (const SourceFolder& folder : folders) {
    std::string out_dir = Join(out, folder.path);
    QV_RETURN_IF_ERROR(MakeDirs(env, out_dir));
    for (const TableSource& t : folder.tables) {
      std::vector<TagDef> tags = folder.TagsOf(t);
      QV_RETURN_IF_ERROR(WriteTable(env, WithSoonActions(t), Join(out_dir, t.file_name), today,
                                    HasStructuralBag(t, tags)));
      QV_RETURN_IF_ERROR(WriteBags(env, t, tags, out_dir));
    }
    for (const std::string& name : folder.others) {
      QV_RETURN_IF_ERROR(BuildOther(env, Join(Join(root, folder.path), name), out_dir, name));
    }
  }
  return Status::OK();
}

}  // namespace qv::media

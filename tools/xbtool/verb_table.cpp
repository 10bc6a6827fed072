// xbtool table verbs: dump, create, pack, zap and check. TABLE is a host
// path, or a Windows path ("C:\DATA\CUST.DBF") resolved through the drive
// map of QUORVANTA_DRIVES.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/fs/drive_map.h"
#include "platform/fs/env.h"
#include "platform/fs/win_fs.h"
#include "platform/rdd/cdx_order_bag.h"
#include "platform/rdd/check.h"
#include "platform/rdd/pack.h"
#include "platform/rdd/table.h"
#include "platform/rdd/table_json.h"
#include "platform/runtime/json.h"
#include "verbs.h"

namespace qv::xbtool {
namespace {

const char kTableUsage[] =
    "usage: xbtool dump TABLE [--cp1252]\n"
    "       xbtool create TABLE --from JSON\n"
    "       xbtool pack TABLE | zap TABLE | check TABLE\n";

int Fail(const Status& s) {
  std::fprintf(stderr, "xbtool: %s\n", s.ToString().c_str());
  return 1;
}

bool IsWindowsPath(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

Result<std::string> HostPath(fs::Env& env, const std::string& path) {
  if (!IsWindowsPath(path)) return path;
  QV_ASSIGN_OR_RETURN(fs::DriveMap drives, fs::MakeDriveMap(fs::DriveSettingsFromProcess()));
  fs::WinFs win(env, std::move(drives), fs::WindowsFolderFromProcess());
  return win.Resolve(path);
}

Result<std::unique_ptr<rdd::Table>> OpenTable(fs::Env& env, const std::string& path, bool exclusive,
                                              bool read_only,
                                              const rdd::BagOpener* opener = nullptr) {
  rdd::TableOpenOptions options;
  options.exclusive = exclusive;
  options.read_only = read_only;
  options.bag_opener = opener;
  return rdd::Table::Open(env, path, options);
}

int Dump(fs::Env& env, const std::string& path, bool cp1252) {
  auto table = OpenTable(env, path, false, true);
  if (!table.ok()) return Fail(table.status());
  rdd::DumpOptions options;
  options.cp1252 = cp1252;
  Status s = rdd::DumpJson(**table, options, [](std::string_view piece) {
    return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size()
               ? Status::OK()
               : Status::IOError("cannot write the dump");
  });
  return s.ok() ? 0 : Fail(s);
}

int Create(fs::Env& env, const std::string& path, const std::string& json_path) {
  auto text = fs::ReadWholeFile(env, json_path);
  if (!text.ok()) return Fail(text.status());
  auto doc = json::Parse(*text);
  if (!doc.ok()) return Fail(doc.status());
  Status s = rdd::CreateFromJson(env, path, *doc);
  return s.ok() ? 0 : Fail(s);
}

int Rewrite(fs::Env& env, const std::string& path, bool pack) {
  const rdd::BagOpener opener = rdd::CdxBagOpener();  // the structural bag is zapped or rebuilt too
  auto table = OpenTable(env, path, true, false, &opener);
  if (!table.ok()) return Fail(table.status());
  Status s = pack ? rdd::Pack(**table) : (*table)->Zap();
  if (s.ok()) s = (*table)->Commit();
  if (s.ok()) s = (*table)->Close();
  return s.ok() ? 0 : Fail(s);
}

int Check(fs::Env& env, const std::string& path) {
  std::vector<std::string> faults;
  const rdd::BagOpener opener = rdd::CdxBagOpener();
  Status s = rdd::CheckTable(env, path, &opener, &faults);
  if (!s.ok()) return Fail(s);
  for (const std::string& f : faults) std::printf("fault: %s\n", f.c_str());
  if (faults.empty()) std::printf("%s: sound\n", path.c_str());
  return faults.empty() ? 0 : 1;
}

}  // namespace

Result<std::string> ToolHostPath(fs::Env& env, const std::string& path) {
  return HostPath(env, path);
}

int VerbTable(const char* verb, int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  const bool create = std::strcmp(verb, "create") == 0;
  const bool dump = std::strcmp(verb, "dump") == 0;
  const bool ok_args = create ? (args.size() == 3 && args[1] == "--from")
                       : dump ? (args.size() == 1 || (args.size() == 2 && args[1] == "--cp1252"))
                              : args.size() == 1;
  if (!ok_args) {
    std::fputs(kTableUsage, stderr);
    return 2;
  }
  std::unique_ptr<fs::Env> env = fs::NewHostEnv();
  auto path = HostPath(*env, args[0]);
  if (!path.ok()) return Fail(path.status());
  if (dump) return Dump(*env, *path, args.size() == 2);
  if (create) return Create(*env, *path, args[2]);
  if (std::strcmp(verb, "check") == 0) return Check(*env, *path);
  return Rewrite(*env, *path, std::strcmp(verb, "pack") == 0);
}

}  // namespace qv::xbtool

// xbtool index verbs: index (build a tag), order (list a tag's keys in
// order) and seek (find a key). TABLE and BAG are host or Windows paths; a
// BAG without an extension gets ".cdx".
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/rdd/orders.h"
#include "platform/rdd/workspace.h"
#include "verbs.h"

namespace qv::xbtool {
namespace {

const char kIndexUsage[] =
    "usage: xbtool index TABLE --bag BAG --tag TAG --key EXPR [--for EXPR] [--unique] "
    "[--descending]\n"
    "       xbtool order TABLE --bag BAG --tag TAG [--deleted on|off]\n"
    "       xbtool seek TABLE --bag BAG --tag TAG KEY [--soft]\n";

struct IndexArgs {
  std::string table, bag, tag, key, for_cond, seek_key;
  bool unique = false, descending = false, soft = false, hide_deleted = false;
  bool has_seek_key = false;
};

int Usage() {
  std::fputs(kIndexUsage, stderr);
  return 2;
}

int Fail(const Status& s) {
  std::fprintf(stderr, "xbtool: %s\n", s.ToString().c_str());
  return 1;
}

// false on a malformed command line.
bool Parse(const std::string& verb, int argc, char** argv, IndexArgs* a) {
  std::vector<std::string> args(argv, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--bag" && has_value) {
      a->bag = args[++i];
    } else if (arg == "--tag" && has_value) {
      a->tag = args[++i];
    } else if (arg == "--key" && has_value && verb == "index") {
      a->key = args[++i];
    } else if (arg == "--for" && has_value && verb == "index") {
      a->for_cond = args[++i];
    } else if (arg == "--deleted" && has_value && verb == "order") {
      const std::string& v = args[++i];
      if (v != "on" && v != "off") return false;
      a->hide_deleted = v == "on";
    } else if (arg == "--unique" && verb == "index") {
      a->unique = true;
    } else if (arg == "--descending" && verb == "index") {
      a->descending = true;
    } else if (arg == "--soft" && verb == "seek") {
      a->soft = true;
    } else if (arg.rfind("--", 0) == 0 && arg != "--") {
      return false;
    } else if (a->table.empty()) {
      a->table = arg;
    } else if (verb == "seek" && !a->has_seek_key) {
      a->seek_key = arg;
      a->has_seek_key = true;
    } else {
      return false;
    }
  }
  if (a->table.empty() || a->bag.empty() || a->tag.empty()) return false;
  if (verb == "index" && a->key.empty()) return false;
  return verb != "seek" || a->has_seek_key;
}

// KEY in the form of the tag's key type.
Result<rt::Value> SeekValue(char type, const std::string& text) {
  switch (type) {
    case 'N': {
      char* end = nullptr;
      const double n = std::strtod(text.c_str(), &end);
      if (text.empty() || *end != '\0') return Status::InvalidArgument("not a number: " + text);
      return rt::Value(rt::Number{n, 10, 0});
    }
    case 'D': {
      rt::Date d = rt::Date::FromDtos(text);
      if (d.empty() && !text.empty()) return Status::InvalidArgument("not YYYYMMDD: " + text);
      return rt::Value(d);
    }
    case 'L':
      if (text != "T" && text != "F") return Status::InvalidArgument("not T or F: " + text);
      return rt::Value(text == "T");
    default:
      return rt::Value(text);
  }
}

Status PrintLine(rdd::WorkArea& area) {
  QV_ASSIGN_OR_RETURN(std::string key, area.order()->ShowKey(area.RecNo()));
  std::printf("%u\t", area.RecNo());
  std::fwrite(key.data(), 1, key.size(), stdout);
  std::fputc('\n', stdout);
  return Status::OK();
}

Status ListOrder(rdd::WorkArea& area) {
  QV_RETURN_IF_ERROR(area.GoTop());
  while (!area.Eof()) {
    QV_RETURN_IF_ERROR(PrintLine(area));
    QV_RETURN_IF_ERROR(area.Skip(1));
  }
  return Status::OK();
}

int Run(const std::string& verb, const IndexArgs& a) {
  std::unique_ptr<fs::Env> env = fs::NewHostEnv();
  auto table = ToolHostPath(*env, a.table);
  if (!table.ok()) return Fail(table.status());
  auto bag = ToolHostPath(*env, a.bag);
  if (!bag.ok()) return Fail(bag.status());
  std::string bag_path = *bag;
  const size_t slash = bag_path.find_last_of('/');
  if (bag_path.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos) {
    bag_path += rdd::kOrderBagExt;
  }
  rdd::Workspace ws(*env);
  ws.settings().deleted = a.hide_deleted;
  rdd::UseArgs use;
  use.file = *table;
  use.shared = verb != "index";
  use.read_only = verb != "index";
  Status s = ws.Use(use);
  if (!s.ok()) return Fail(s);
  rdd::WorkArea& area = *ws.Area();
  if (verb == "index") {
    rdd::OrderSpec spec{a.tag, a.key, a.for_cond, a.unique, a.descending};
    s = rdd::OrderCreate(area, bag_path, spec, nullptr);
    if (s.ok()) s = ws.CloseAll();
    return s.ok() ? 0 : Fail(s);
  }
  s = rdd::OrderListAdd(area, bag_path);
  if (s.ok()) s = rdd::SetFocus(area, a.tag);
  if (!s.ok()) return Fail(s);
  if (verb == "order") {
    s = ListOrder(area);
    return s.ok() ? 0 : Fail(s);
  }
  auto value = SeekValue(area.order()->KeyType(), a.seek_key);
  if (!value.ok()) return Fail(value.status());
  s = area.Seek(*value, a.soft);
  if (s.ok() && !area.Eof()) s = PrintLine(area);
  if (!s.ok()) return Fail(s);
  return area.Found() ? 0 : 1;
}

}  // namespace

int VerbIndex(const char* verb, int argc, char** argv) {
  IndexArgs args;
  if (!Parse(verb, argc, argv, &args)) return Usage();
  return Run(verb, args);
}

}  // namespace qv::xbtool

#include "platform/fs/detail/host_path.h"

namespace qv::fs::detail {

std::vector<std::string> SplitHostPath(const std::string& path) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < path.size()) {
    size_t next = path.find('/', pos);
    if (next == std::string::npos) next = path.size();
    if (next > pos) out.push_back(path.substr(pos, next - pos));
    pos = next + 1;
  }
  return out;
}

std::string NormalizeHostPath(const std::string& path, const std::string& base) {
  std::string full = !path.empty() && path[0] == '/' ? path : base + "/" + path;
  std::vector<std::string> parts;
  for (std::string& part : SplitHostPath(full)) {
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (part != ".") {
      parts.push_back(std::move(part));
    }
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  return out.empty() ? "/" : out;
}

bool IsWithin(const std::string& inner, const std::string& outer) {
  if (outer == "/") return true;
  return inner == outer ||
         (inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
          inner[outer.size()] == '/');
}

std::string JoinHost(const std::string& dir, const std::string& name) {
  return dir == "/" ? "/" + name : dir + "/" + name;
}

}  // namespace qv::fs::detail

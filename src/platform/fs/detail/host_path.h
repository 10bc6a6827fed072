// Internal to platform/fs: lexical handling of host ('/'-separated) paths.
#pragma once

#include <string>
#include <vector>

namespace qv::fs::detail {

// "/a/./b//c/" -> "/a/b/c", ".." lexically (never above "/"); a relative
// path is taken from base.
std::string NormalizeHostPath(const std::string& path, const std::string& base);
// dir + "/" + name, without doubling the slash of "/".
std::string JoinHost(const std::string& dir, const std::string& name);
// Whether the normal path inner is outer or lies below it.
bool IsWithin(const std::string& inner, const std::string& outer);
// The non-empty parts of a '/'-separated path.
std::vector<std::string> SplitHostPath(const std::string& path);

}  // namespace qv::fs::detail

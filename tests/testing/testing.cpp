#include "testing/testing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qv::testing {

namespace stdfs = std::filesystem;

std::string SharedDir() {
  const char* env = std::getenv("QV_SHARED");
  std::string dir = (env && *env) ? env : QV_SHARED_DEFAULT;
  std::error_code ec;
  if (!stdfs::is_directory(stdfs::path(dir) / "fixtures", ec)) return "";
  return dir;
}

TempDir::TempDir() {
  std::string templ = (stdfs::temp_directory_path() / "qvtest-XXXXXX").string();
  char* made = mkdtemp(templ.data());
  if (made == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = made;
}

TempDir::~TempDir() {
  std::error_code ec;
  stdfs::remove_all(path_, ec);
}

std::string TempDir::Sub(const std::string& name) const { return path_ + "/" + name; }

std::string CopyFixture(const std::string& rel, const std::string& dir) {
  stdfs::path from = stdfs::path(SharedDir()) / "fixtures" / rel;
  stdfs::path to = stdfs::path(dir) / from.filename();
  stdfs::copy_file(from, to, stdfs::copy_options::overwrite_existing);
  stdfs::permissions(to, stdfs::perms::owner_read | stdfs::perms::owner_write,
                     stdfs::perm_options::add);
  return to.string();
}

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteHostFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << data;
}

}  // namespace qv::testing

// A test fixture that runs each case against the host Env (in a temporary
// folder) and against the memory Env, which must behave the same.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/fs/env.h"
#include "testing/testing.h"

namespace qv::fs {

class HostOrMemoryTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (GetParam()) {
      env_ = NewHostEnv();
      dir_ = tmp_.path();
    } else {
      env_ = NewMemEnv();
      dir_ = "/work";
      ASSERT_TRUE(env_->MakeDir(dir_).ok());
    }
  }
  // A path in the test's own folder.
  std::string P(const std::string& name) const { return dir_ + "/" + name; }

  qv::testing::TempDir tmp_;
  std::unique_ptr<Env> env_;
  std::string dir_;
};

inline std::string HostOrMemoryName(const ::testing::TestParamInfo<bool>& param) {
  return param.param ? "Host" : "Memory";
}

}  // namespace qv::fs

#define QV_HOST_AND_MEMORY(suite)                                                \
  INSTANTIATE_TEST_SUITE_P(HostAndMemory, suite, ::testing::Values(true, false), \
                           ::qv::fs::HostOrMemoryName)

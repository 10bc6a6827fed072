#include "platform/gui/environment.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace qv::gui {
namespace {

GuiEnvironment Read(const std::map<std::string, std::string>& vars) {
  return ReadGuiEnvironment([&vars](const char* name) -> const char* {
    auto it = vars.find(name);
    return it == vars.end() ? nullptr : it->second.c_str();
  });
}

TEST(GuiEnvironmentTest, DefaultsWhenUnset) {
  const GuiEnvironment env = Read({});
  EXPECT_EQ(env.windows_folder, "C:\\WINDOWS");
  EXPECT_TRUE(env.printer_present);
  EXPECT_EQ(env.pdf_folder, "");
}

TEST(GuiEnvironmentTest, ReadsEachVariable) {
  const GuiEnvironment env = Read({{"QUORVANTA_WINDIR", "D:\\WINNT"},
                                   {"QUORVANTA_PRINTER", "None"},
                                   {"QUORVANTA_PRINT_PDF", "/tmp/pdf"}});
  EXPECT_EQ(env.windows_folder, "D:\\WINNT");
  EXPECT_FALSE(env.printer_present);
  EXPECT_EQ(env.pdf_folder, "/tmp/pdf");
  EXPECT_TRUE(Read({{"QUORVANTA_PRINTER", "lp0"}}).printer_present);
  EXPECT_EQ(Read({{"QUORVANTA_WINDIR", ""}}).windows_folder, "C:\\WINDOWS");
}

}  // namespace
}  // namespace qv::gui

#include "shell/startup/fonts.h"

#include <memory>

namespace qv::shell {

namespace {

constexpr bool kBold = true;
constexpr bool kNormal = false;

const FontDef kFonts[] = {
    {"ARIAL9", {"Ms Sans Serif", 7, 13, kBold}},
    {"FNTARIAL", {"Arial", 7, 13, kBold}},
    {"FNTCOUR22", {"Courier New", 0, -23, kBold}},
    {"FNTCOUR11", {"Courier New", 0, -11, kBold}},
    {"OFONTMS9", {"Ms Sans Serif", 0, -10, kNormal}},
    {"OFONTMS10", {"Ms Sans Serif", 0, -10, kBold}},
    {"OFONTMS12", {"Ms Sans Serif", 0, -12, kBold}},
    {"OFONTC7", {"Courier New", 0, -7, kNormal}},
    {"OFONTC8", {"Courier New", 0, -8, kNormal}},
    {"OFONTC9", {"Courier New", 0, -9, kNormal}},
    {"OFONTC10", {"Courier New", 0, -10, kNormal}},
    {"OFONTC11", {"Courier New", 0, -11, kBold}},
    {"OFONTC12", {"Courier New", 0, -12, kBold}},
    {"OFONTC13", {"Courier New", 0, -13, kBold}},
};

}  // namespace

std::span<const FontDef> StartupFonts() { return kFonts; }

void CreateFonts(rt::Session& session) {
  for (const FontDef& def : kFonts) {
    session.DeclarePublic(def.variable) =
        rt::ObjectRef(std::make_shared<gui::FontObject>(def.font));
  }
}

}  // namespace qv::shell

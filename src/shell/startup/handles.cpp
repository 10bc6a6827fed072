#include "shell/startup/handles.h"

#include <memory>

namespace qv::shell {

bool IsWindow(const rt::Value& value) {
  return value.IsObject() && dynamic_cast<const WindowObject*>(value.object().get()) != nullptr;
}

gui::Meter* MeterOf(const rt::Value& value) {
  if (!value.IsObject()) return nullptr;
  const auto* handle = dynamic_cast<const MeterObject*>(value.object().get());
  return handle != nullptr ? &handle->meter() : nullptr;
}

rt::Value MeterValue(gui::Meter& meter) {
  return rt::Value(rt::ObjectRef(std::make_shared<MeterObject>(meter)));
}

}  // namespace qv::shell

#include "platform/gui/meter.h"

namespace qv::gui {

void Meter::SetTotal(int64_t total) {
  total_ = total < 0 ? 0 : total;
  if (on_change) on_change(*this);
}

void Meter::Set(int64_t position) {
  position_ = position < 0 ? 0 : position;
  if (on_change) on_change(*this);
}

}  // namespace qv::gui

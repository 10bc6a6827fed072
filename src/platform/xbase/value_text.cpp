#include "platform/xbase/value_text.h"

#include "platform/runtime/number.h"
#include "platform/runtime/text.h"

namespace qv::xb {

std::string ValueText(const rt::Value& value) {
  switch (value.type()) {
    case rt::Type::kNil:
      return "NIL";
    case rt::Type::kLogical:
      return value.logical() ? ".T." : ".F.";
    case rt::Type::kNumber:
      return std::string(rt::AllTrim(rt::Str(value.number())));
    case rt::Type::kString:
      return value.str();
    case rt::Type::kDate:
      return rt::Dtoc(value.date());
    case rt::Type::kArray:
      return "{array " + std::to_string(value.array()->items.size()) + "}";
    case rt::Type::kBlock:
      return "{block}";
    case rt::Type::kObject:
      return "{object " + std::string(value.object()->ClassName()) + "}";
  }
  return "NIL";
}

}  // namespace qv::xb

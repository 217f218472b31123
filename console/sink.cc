#include "console/sink.h"

#include "console/color.h"

namespace quorvantile {

bool StringSink::write(std::string_view bytes) {
  text_.append(bytes);
  ++flushes_;
  return true;
}

void StringSink::setAttribute(std::uint8_t attribute) {
  if (recordColor_) text_ += ansiSequence(attribute);
}

}  // namespace quorvantile

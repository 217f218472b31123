#include "console/background.h"

namespace quorvantile {

struct Background::Pending {};

Background::Background() = default;

Background::~Background() = default;

void Background::start(std::function<void()> work) { work(); }

void Background::wait() {}

}  // namespace quorvantile

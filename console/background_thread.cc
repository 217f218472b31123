#include <future>
#include <utility>

#include "console/background.h"

namespace quorvantile {

struct Background::Pending {
  std::future<void> done;
};

Background::Background() : pending_(std::make_unique<Pending>()) {}

Background::~Background() { wait(); }

void Background::start(std::function<void()> work) {
  wait();
  pending_->done = std::async(std::launch::async, std::move(work));
}

void Background::wait() {
  if (pending_->done.valid()) pending_->done.get();
}

}  // namespace quorvantile

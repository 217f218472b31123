// One piece of work at a time done beside the caller, so that writing out
// one batch of a long listing overlaps finding the next: on a thread of its
// own where the build has threads, and at once, inside start(), in the page
// (one thread) and on Windows. What the work touches is the work's until
// wait() returns.
#pragma once

#include <functional>
#include <memory>

namespace quorvantile {

class Background {
 public:
  Background();
  ~Background();  // waits for the work started last
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;

  // Waits for the work started before, then starts `work`.
  void start(std::function<void()> work);
  // Returns once the work started last has finished.
  void wait();

 private:
  struct Pending;
  std::unique_ptr<Pending> pending_;
};

}  // namespace quorvantile

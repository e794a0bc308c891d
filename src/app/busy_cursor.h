#ifndef ZENTROVA_APP_BUSY_CURSOR_H_
#define ZENTROVA_APP_BUSY_CURSOR_H_

// The busy cursor of a run, shown while the run lasts and put back however it ends.

#include "app/host.h"

namespace zentrova::app {

// Shows the host's busy cursor for its lifetime, so the cursor comes back also when an
// error ends a run.
class BusyCursor {
 public:
  explicit BusyCursor(Host& host) : host_(host) { host_.SetBusy(true); }
  ~BusyCursor() { Restore(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

  void Restore() {
    if (busy_) host_.SetBusy(false);
    busy_ = false;
  }

 private:
  Host& host_;
  bool busy_ = true;
};

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_BUSY_CURSOR_H_

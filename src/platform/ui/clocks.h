#pragma once
// Clocks: the system's local time, and a fixed time that tests set and move.
#include "platform/ui/ports.h"

namespace ui {

class SystemClock : public Clock {
  public:
    text::DateTime Now() const override;  // local date and time, whole seconds
};

class FixedClock : public Clock {
  public:
    explicit FixedClock(text::DateTime now = {}) : now_(now) {}
    text::DateTime Now() const override { return now_; }
    void Set(text::DateTime now) { now_ = now; }

  private:
    text::DateTime now_;
};

}  // namespace ui

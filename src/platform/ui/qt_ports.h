#pragma once
// Event pump and busy pointer on Qt.
#include "platform/ui/ports.h"

namespace ui {

// Lets the windows handle pending events (repaints, input) during long work.
class QtEventPump : public EventPump {
  public:
    void ProcessEvents() override;
};

// The hourglass pointer over the whole application. Repeating the same state changes
// nothing, so a true/false pair always leaves the pointer as it was.
class QtBusyPointer : public BusyPointer {
  public:
    ~QtBusyPointer() override;
    void SetBusy(bool busy) override;
    bool IsBusy() const { return busy_; }

  private:
    bool busy_ = false;
};

}  // namespace ui

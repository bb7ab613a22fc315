#include "platform/ui/ports.h"

#include <utility>

#include "platform/text/runtime_error.h"
#include "platform/ui/clocks.h"

namespace ui {

namespace {

// Before a prompter is installed every box is a fault: nobody is there to answer it.
class FailingPrompter : public Prompter {
  public:
    int MsgBox(const std::string& prompt, Buttons, Icon, const std::string&) override {
        throw text::RuntimeError(text::errnum::kInvalidArgument,
                                 "No hay quien conteste el mensaje: " + prompt, "ui::Prompter");
    }
    std::string InputBox(const std::string& prompt, const std::string&,
                         const std::string&) override {
        throw text::RuntimeError(text::errnum::kInvalidArgument,
                                 "No hay quien conteste la pregunta: " + prompt, "ui::Prompter");
    }
};

class IdleEventPump : public EventPump {
  public:
    void ProcessEvents() override {}
};

class IdleBusyPointer : public BusyPointer {
  public:
    void SetBusy(bool) override {}
};

// One installed port of a kind; an empty slot means the default.
template <class Port>
struct Slot {
    std::shared_ptr<Port> installed;
    Port& Get(Port& fallback) const { return installed ? *installed : fallback; }
    std::shared_ptr<Port> Set(std::shared_ptr<Port> p) {
        return std::exchange(installed, std::move(p));
    }
};

Slot<Prompter>& PrompterSlot() {
    static Slot<Prompter> slot;
    return slot;
}
Slot<EventPump>& PumpSlot() {
    static Slot<EventPump> slot;
    return slot;
}
Slot<BusyPointer>& PointerSlot() {
    static Slot<BusyPointer> slot;
    return slot;
}
Slot<Clock>& ClockSlot() {
    static Slot<Clock> slot;
    return slot;
}

std::string& TitleStorage() {
    static std::string title = "Depuraciones";
    return title;
}

}  // namespace

Prompter& prompter() {
    static FailingPrompter fallback;
    return PrompterSlot().Get(fallback);
}

EventPump& events() {
    static IdleEventPump fallback;
    return PumpSlot().Get(fallback);
}

BusyPointer& pointer() {
    static IdleBusyPointer fallback;
    return PointerSlot().Get(fallback);
}

const Clock& clock() {
    static SystemClock fallback;
    return ClockSlot().Get(fallback);
}

std::shared_ptr<Prompter> SetPrompter(std::shared_ptr<Prompter> p) {
    return PrompterSlot().Set(std::move(p));
}
std::shared_ptr<EventPump> SetEventPump(std::shared_ptr<EventPump> p) {
    return PumpSlot().Set(std::move(p));
}
std::shared_ptr<BusyPointer> SetBusyPointer(std::shared_ptr<BusyPointer> p) {
    return PointerSlot().Set(std::move(p));
}
std::shared_ptr<Clock> SetClock(std::shared_ptr<Clock> c) {
    return ClockSlot().Set(std::move(c));
}

const std::string& ApplicationTitle() {
    return TitleStorage();
}
void SetApplicationTitle(std::string title) {
    TitleStorage() = std::move(title);
}

}  // namespace ui

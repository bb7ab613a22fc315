#pragma once
// Ports for what the window system gives the program: message and input boxes, processing
// of pending events, the busy pointer and the clock. The program reaches them through the
// process-wide accessors below; the Qt, console and scripted implementations plug in there.
#include <memory>
#include <string>

#include "platform/text/datetime.h"

namespace ui {

enum class Buttons {
    OK = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5
};
enum class Icon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };

// Answers, with the platform's numbers.
enum Answer : int { kOK = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7 };

class Prompter {
  public:
    virtual ~Prompter() = default;
    // A message box. An empty title shows the application's title. A carriage return alone
    // in the prompt breaks the line.
    virtual int MsgBox(const std::string& prompt, Buttons buttons = Buttons::OK,
                       Icon icon = Icon::None, const std::string& title = {}) = 0;
    // An input box; Cancel gives empty text.
    virtual std::string InputBox(const std::string& prompt, const std::string& title = {},
                                 const std::string& defaultText = {}) = 0;
};

class EventPump {
  public:
    virtual ~EventPump() = default;
    virtual void ProcessEvents() = 0;
};

class BusyPointer {
  public:
    virtual ~BusyPointer() = default;
    virtual void SetBusy(bool busy) = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual text::DateTime Now() const = 0;
};

// Process-wide ports. Before anything is installed: a prompter that fails loudly (raises
// text::RuntimeError, so a box nobody expected is never silently answered), an event pump
// and pointer that do nothing, and the system clock.
Prompter& prompter();
EventPump& events();
BusyPointer& pointer();
const Clock& clock();

std::shared_ptr<Prompter> SetPrompter(std::shared_ptr<Prompter> p);
std::shared_ptr<EventPump> SetEventPump(std::shared_ptr<EventPump> p);
std::shared_ptr<BusyPointer> SetBusyPointer(std::shared_ptr<BusyPointer> p);
std::shared_ptr<Clock> SetClock(std::shared_ptr<Clock> c);

// The application's title, shown by boxes that have none of their own ("Depuraciones").
const std::string& ApplicationTitle();
void SetApplicationTitle(std::string title);

// Installs a port for the lifetime of the object and puts the previous one back after.
template <class Port, std::shared_ptr<Port> (*Set)(std::shared_ptr<Port>)>
class ScopedPort {
  public:
    explicit ScopedPort(std::shared_ptr<Port> p) : previous_(Set(std::move(p))) {}
    ~ScopedPort() { Set(previous_); }
    ScopedPort(const ScopedPort&) = delete;
    ScopedPort& operator=(const ScopedPort&) = delete;

  private:
    std::shared_ptr<Port> previous_;
};
using ScopedPrompter = ScopedPort<Prompter, &SetPrompter>;
using ScopedEventPump = ScopedPort<EventPump, &SetEventPump>;
using ScopedBusyPointer = ScopedPort<BusyPointer, &SetBusyPointer>;
using ScopedClock = ScopedPort<Clock, &SetClock>;

}  // namespace ui

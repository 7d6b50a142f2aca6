// The automatic run: clears the Result box and runs the 43 commands in their fixed order,
// each exactly as a click on its button would.  A command that stops at its shape test or a
// failed factorisation ends normally; an error raised inside a command ends the whole run.
#include "commands.h"
#include "form.h"
#include "fp_guard.h"

namespace {

// Signals busy on construction and not busy on destruction, however the run ends.
class BusyScope {
  public:
    explicit BusyScope(const std::function<void(bool)>& hook) : hook_(hook) {
        if (hook_) hook_(true);
    }
    ~BusyScope() {
        if (hook_) hook_(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    const std::function<void(bool)>& hook_;
};

}  // namespace

void TForm1::SpeedButton49Click() {
    BusyScope busy(OnBusyChanged);
    Clear1Click();
    for (const CommandInfo* command : AutoRunOrder()) {
        ClearFloatingPoint();  // as the dispatcher does before every click
        (this->*command->handler)();
    }
}

#pragma once

#include "shell/ui.h"

namespace quorvex {

// The command line's stand-in for a screen's mouse pointer: a terminal shows no pointer, so the
// state the commands set is only kept.
class HeldPointer : public Pointer {
  public:
    int MousePointer() const override { return state_; }
    void SetMousePointer(int state) override { state_ = state; }

  private:
    int state_ = vbDefault;
};

}  // namespace quorvex

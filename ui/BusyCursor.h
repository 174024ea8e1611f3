// The wait cursor while the GUI thread reads or writes the archive and answers nothing.
#pragma once

#include <windows.h>

#include <functional>

namespace ledgrin {

// Shows the wait cursor while it lives and puts back the cursor from before when it ends.
class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Runs `showBox` with the cursor from before, then shows the wait cursor again: a
    // message box must not appear with the wait cursor.
    void Aside(const std::function<void()>& showBox) const;

  private:
    HCURSOR wait_;
    HCURSOR before_; // the arrow when the thread had no cursor yet (start-up)
};

} // namespace ledgrin

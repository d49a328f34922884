#pragma once

// Shows the busy cursor for its lifetime: an update cycle holds the GUI
// thread for a few hundred milliseconds. Nests.
class TBusyCursor {
  public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

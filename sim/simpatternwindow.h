#pragma once

#include <memory>

namespace Krn4Sim {

// Finds the application's colour pattern window on the X display, so that the probe measures
// whatever pattern window is shown, wherever it is. A pattern window always carries its colour
// "R,G,B" as its title; the topmost viewable window with such a title is taken (looked for
// among the top-level windows and, under a window manager, inside their frames).
class PatternWindowFinder
{
public:
    PatternWindowFinder();
    ~PatternWindowFinder();
    PatternWindowFinder(const PatternWindowFinder &) = delete;
    PatternWindowFinder &operator=(const PatternWindowFinder &) = delete;

    // The window's centre in screen coordinates; false when no pattern window is shown or the
    // display cannot be reached.
    bool find(int &x, int &y);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace Krn4Sim

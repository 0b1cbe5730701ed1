#pragma once

#include <functional>

namespace kovan::test {

// Turns the calling thread's event loop until `done` holds; false when `limitMs` passed first.
// The limits only stop a broken build from hanging: no assertion depends on how long it takes.
bool waitUntil(const std::function<bool()>& done, int limitMs = 20000);

// Turns the event loop for `ms` milliseconds.
void pumpFor(int ms);

} // namespace kovan::test

#pragma once

#include "core/Endpoints.h"

#include <QString>

namespace kovan {

// Where the client keeps its files and which servers it talks to. The program entry settles
// both before any part of the client is made; from then on they do not change, so any thread
// may read them.
struct ProgramPaths {
    QString programDir; // absolute, with a trailing "/"
    Endpoints endpoints;
};

} // namespace kovan

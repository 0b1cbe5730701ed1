#pragma once

namespace kovan {

class CommandRegistry;
class Lifecycle;

// What every part of the client (shell, web, sync, notices, member, windows, charts, video)
// contributes to the program as a whole: its page commands and its start-up and exit steps.
// The program calls both once, on the GUI thread, after the parts' needs are connected.
class ClientPart {
public:
    virtual ~ClientPart() = default;

    // The page commands this part answers.
    virtual void registerCommands(CommandRegistry&) {}
    // Its start-up steps and exit steps.
    virtual void addSteps(Lifecycle&) {}

protected:
    ClientPart() = default;
    ClientPart(const ClientPart&) = delete;
    ClientPart& operator=(const ClientPart&) = delete;
};

} // namespace kovan

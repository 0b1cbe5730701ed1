#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>

#include <sys/types.h>

namespace kovan::test {

// A second account for the owner cases: "nobody", an account of its own that no test runs
// as. The suite runs as root in CI; the tests hand it files, folders and shared-memory objects
// (and take them back when they remove them) and run processes as it. Without root (or without
// that account) the owner cases skip with the reason find() gives.
struct OtherAccount {
    uid_t uid = 0;
    gid_t gid = 0;

    // The account, or nullopt with the reason in `whyNot`.
    static std::optional<OtherAccount> find(std::string* whyNot);

    // Hands the file, folder or link at `path` (a link itself, not what it points at) to the
    // account.
    bool give(const QString& path) const;
    // Hands the shared-memory object "/" + name to the account.
    bool giveSharedObject(const QString& name) const;

    // Runs `body` in a child process as the account and returns its exit code (-1 when it
    // did not end normally or could not become the account). Only async-signal-safe calls in
    // `body`: the test program has threads.
    int run(const std::function<int()>& body) const;
    // Makes the calling (child) process the account: for QProcess::setChildProcessModifier.
    // Ends the child at once (status 126) when it cannot.
    void become() const;

    // Whether the account may make user and PID namespaces, which the web engine's page
    // sandbox needs; false with the reason otherwise.
    bool canSandbox(std::string* whyNot) const;
};

} // namespace kovan::test

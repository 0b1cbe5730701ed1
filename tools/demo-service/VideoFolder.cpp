// The folder the demo's generated videos are kept in between starts: the account's own, so
// that nobody else can plant a file or a link under the names the service writes.

#include "DemoService.h"

#include "core/PrivateFiles.h"

#include <QString>

#include <unistd.h>

namespace demo {

std::string videoFolder(const std::string& tempFolder, std::string* problem) {
    const std::string folder = tempFolder + "/kovan-demo-" + std::to_string(::geteuid());
    const QString why = kovan::makePrivateFolder(QString::fromStdString(folder));
    if (why.isEmpty())
        return folder;
    if (problem)
        *problem = folder + ": " + why.toStdString();
    return {};
}

} // namespace demo

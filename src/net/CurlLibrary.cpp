#include "net/CurlApi.h"

#include "core/ClientLibrary.h"

namespace kovan {

namespace {

// A table of this version with every function.
bool complete(const void* table) {
    const auto* api = static_cast<const CurlApi*>(table);
    if (api->version != CurlApi::kVersion)
        return false;
    using Any = void (*)();
    const Any members[] = {
        Any(api->global_init),      Any(api->easy_init),           Any(api->easy_cleanup),
        Any(api->easy_setopt),      Any(api->easy_getinfo),        Any(api->easy_strerror),
        Any(api->multi_init),       Any(api->multi_cleanup),       Any(api->multi_setopt),
        Any(api->multi_add_handle), Any(api->multi_remove_handle), Any(api->multi_perform),
        Any(api->multi_poll),       Any(api->multi_info_read),     Any(api->slist_append),
        Any(api->slist_free_all)};
    for (Any member : members) {
        if (!member)
            return false;
    }
    return true;
}

ClientLibraryTable& table() {
    static ClientLibraryTable t("libkovan-http.so", kCurlEntryName, &complete,
                                "http: library not usable, no request can be made");
    return t;
}

} // namespace

const CurlApi* CurlLibrary::get() {
    return static_cast<const CurlApi*>(table().get());
}

const CurlApi* CurlLibrary::loadFrom(const QString& folder) {
    return static_cast<const CurlApi*>(table().loadFrom(folder));
}

QString CurlLibrary::fileName() {
    return table().fileName();
}

} // namespace kovan

// The HTTP library's one exported function (see CurlLibrary, which loads it): libcurl's
// functions, linked here and nowhere else in the client.

#include "net/CurlApi.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT const kovan::CurlApi* kovan_http_api() {
    static const kovan::CurlApi api = [] {
        kovan::CurlApi a;
        a.global_init = &curl_global_init;
        a.easy_init = &curl_easy_init;
        a.easy_cleanup = &curl_easy_cleanup;
        a.easy_setopt = &curl_easy_setopt;
        a.easy_getinfo = &curl_easy_getinfo;
        a.easy_strerror = &curl_easy_strerror;
        a.multi_init = &curl_multi_init;
        a.multi_cleanup = &curl_multi_cleanup;
        a.multi_setopt = &curl_multi_setopt;
        a.multi_add_handle = &curl_multi_add_handle;
        a.multi_remove_handle = &curl_multi_remove_handle;
        a.multi_perform = &curl_multi_perform;
        a.multi_poll = &curl_multi_poll;
        a.multi_info_read = &curl_multi_info_read;
        a.slist_append = &curl_slist_append;
        a.slist_free_all = &curl_slist_free_all;
        return a;
    }();
    return &api;
}

#pragma once

#include <curl/curl.h>

#include <QString>

namespace kovan {

// The libcurl functions HttpClient uses, from the client's HTTP library (libkovan-http.so,
// which links libcurl). It is loaded with the first HttpClient, on a worker: a start maps
// neither libcurl nor the TLS, LDAP, SSH and IDN libraries it pulls in before the first page
// is on screen (about 15 ms of loading and relocation on the start's critical path).
//
// Each member has the type of the libcurl function of that name without its "curl_" prefix.
struct CurlApi {
    static constexpr int kVersion = 1;
    int version = kVersion;
    CURLcode (*global_init)(long flags) = nullptr;
    CURL* (*easy_init)() = nullptr;
    void (*easy_cleanup)(CURL* easy) = nullptr;
    CURLcode (*easy_setopt)(CURL* easy, CURLoption option, ...) = nullptr;
    CURLcode (*easy_getinfo)(CURL* easy, CURLINFO info, ...) = nullptr;
    const char* (*easy_strerror)(CURLcode code) = nullptr;
    CURLM* (*multi_init)() = nullptr;
    CURLMcode (*multi_cleanup)(CURLM* multi) = nullptr;
    CURLMcode (*multi_setopt)(CURLM* multi, CURLMoption option, ...) = nullptr;
    CURLMcode (*multi_add_handle)(CURLM* multi, CURL* easy) = nullptr;
    CURLMcode (*multi_remove_handle)(CURLM* multi, CURL* easy) = nullptr;
    CURLMcode (*multi_perform)(CURLM* multi, int* running) = nullptr;
    CURLMcode (*multi_poll)(CURLM* multi, curl_waitfd extra[], unsigned int extraCount,
                            int timeoutMs, int* ready) = nullptr;
    CURLMsg* (*multi_info_read)(CURLM* multi, int* queued) = nullptr;
    curl_slist* (*slist_append)(curl_slist* list, const char* line) = nullptr;
    void (*slist_free_all)(curl_slist* list) = nullptr;
};

inline constexpr const char* kCurlEntryName = "kovan_http_api";

// The table for this run, loaded once (libcurl initialised with it). Any thread.
class CurlLibrary {
public:
    // The table, or null for the rest of the run when the library could not be loaded
    // (every request then fails with that reason).
    static const CurlApi* get();
    // Decides by loading the library from `folder` (before the first get()).
    static const CurlApi* loadFrom(const QString& folder);
    static QString fileName();
};

} // namespace kovan

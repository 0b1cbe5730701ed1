#pragma once

#include <curl/curl.h>

#include <memory>

namespace kovan {

// Owners of libcurl objects: each handle is released by its own cleanup call when its owner
// goes, whichever way the scope is left. Used by HttpClient only.

struct CurlEasyCleanup {
    void operator()(CURL* easy) const noexcept { curl_easy_cleanup(easy); }
};
struct CurlMultiCleanup {
    void operator()(CURLM* multi) const noexcept { curl_multi_cleanup(multi); }
};
struct CurlSlistFree {
    void operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;
using CurlMulti = std::unique_ptr<CURLM, CurlMultiCleanup>;
using CurlHeaderList = std::unique_ptr<curl_slist, CurlSlistFree>;

// Appends one header line; the list stays as it was when libcurl cannot grow it.
inline void appendHeader(CurlHeaderList& list, const char* line) {
    if (curl_slist* grown = curl_slist_append(list.get(), line)) {
        (void)list.release(); // `grown` now owns the old nodes
        list.reset(grown);
    }
}

// An easy handle added to a multi handle for one transfer; removed again when this goes, so
// that the easy handle can be cleaned up or reused on every way out of the transfer.
class CurlMultiAttachment {
public:
    CurlMultiAttachment(CURLM* multi, CURL* easy)
        : m_multi(multi), m_easy(easy), m_attached(curl_multi_add_handle(multi, easy) == CURLM_OK) {
    }
    ~CurlMultiAttachment() {
        if (m_attached)
            curl_multi_remove_handle(m_multi, m_easy);
    }
    CurlMultiAttachment(const CurlMultiAttachment&) = delete;
    CurlMultiAttachment& operator=(const CurlMultiAttachment&) = delete;

    bool attached() const { return m_attached; }

private:
    CURLM* m_multi;
    CURL* m_easy;
    bool m_attached;
};

} // namespace kovan

#pragma once

#include "net/CurlApi.h"

#include <memory>

namespace kovan {

// Owners of libcurl objects: each handle is released by its own cleanup call (through the
// table that made it) when its owner goes, whichever way the scope is left. Used by HttpClient
// only.

struct CurlEasyCleanup {
    const CurlApi* curl = nullptr;
    void operator()(CURL* easy) const noexcept { curl->easy_cleanup(easy); }
};
struct CurlMultiCleanup {
    const CurlApi* curl = nullptr;
    void operator()(CURLM* multi) const noexcept { curl->multi_cleanup(multi); }
};
struct CurlSlistFree {
    const CurlApi* curl = nullptr;
    void operator()(curl_slist* list) const noexcept { curl->slist_free_all(list); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;
using CurlMulti = std::unique_ptr<CURLM, CurlMultiCleanup>;
using CurlHeaderList = std::unique_ptr<curl_slist, CurlSlistFree>;

// Appends one header line; the list stays as it was when libcurl cannot grow it.
inline void appendHeader(CurlHeaderList& list, const char* line) {
    if (curl_slist* grown = list.get_deleter().curl->slist_append(list.get(), line)) {
        (void)list.release(); // `grown` now owns the old nodes
        list.reset(grown);
    }
}

// An easy handle added to a multi handle for one transfer; removed again when this goes, so
// that the easy handle can be cleaned up or reused on every way out of the transfer.
class CurlMultiAttachment {
public:
    CurlMultiAttachment(const CurlApi& curl, CURLM* multi, CURL* easy)
        : m_curl(curl), m_multi(multi), m_easy(easy),
          m_attached(curl.multi_add_handle(multi, easy) == CURLM_OK) {}
    ~CurlMultiAttachment() {
        if (m_attached)
            m_curl.multi_remove_handle(m_multi, m_easy);
    }
    CurlMultiAttachment(const CurlMultiAttachment&) = delete;
    CurlMultiAttachment& operator=(const CurlMultiAttachment&) = delete;

    bool attached() const { return m_attached; }

private:
    const CurlApi& m_curl;
    CURLM* m_multi;
    CURL* m_easy;
    bool m_attached;
};

} // namespace kovan

#pragma once

#include "core/Endpoints.h"

#include <QString>

namespace kovan {

// Addresses of the public web site's pages that the client opens in the system's browser.
// `clientKey` is the scrambled client key (C); `sessid` the current session (S). Both go in as
// query values, percent-encoded, so a session id holding "&", "#", "%" or spaces cannot add a
// parameter, start a fragment or otherwise change the address. Any thread.

// The site as it appears in addresses: the host, with ":port" unless the port is 80.
QString webSiteAuthority(const HostPort& site);

// "http://<site>/price.php?C=…&S=…" (price page).
QString priceUrl(const HostPort& site, const QString& clientKey, const QString& sessid);
// "http://<site>/register.php?C=…&S=…" (register page).
QString registerUrl(const HostPort& site, const QString& clientKey, const QString& sessid);
// "http://<site>/register.php?C=…" (the login dialog's "注册": no session).
QString dialogRegisterUrl(const HostPort& site, const QString& clientKey);
// "http://<site>/?S=…&C=…" (member page, from the login dialog's note).
QString memberPageUrl(const HostPort& site, const QString& sessid, const QString& clientKey);

// C of the links: scrambleStr(getClientKey()).
QString linkClientKey();

} // namespace kovan

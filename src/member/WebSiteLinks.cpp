#include "member/WebSiteLinks.h"

#include "core/Escaping.h"
#include "core/Scramble.h"

namespace kovan {

namespace {

QString siteRoot(const HostPort& site) {
    return QStringLiteral("http://") + webSiteAuthority(site);
}

} // namespace

QString webSiteAuthority(const HostPort& site) {
    return site.port == 80 ? site.host : site.host + u':' + QString::number(site.port);
}

QString priceUrl(const HostPort& site, const QString& clientKey, const QString& sessid) {
    return siteRoot(site) + QStringLiteral("/price.php?C=") + urlQueryValue(clientKey) +
           QStringLiteral("&S=") + urlQueryValue(sessid);
}

QString registerUrl(const HostPort& site, const QString& clientKey, const QString& sessid) {
    return siteRoot(site) + QStringLiteral("/register.php?C=") + urlQueryValue(clientKey) +
           QStringLiteral("&S=") + urlQueryValue(sessid);
}

QString dialogRegisterUrl(const HostPort& site, const QString& clientKey) {
    return siteRoot(site) + QStringLiteral("/register.php?C=") + urlQueryValue(clientKey);
}

QString memberPageUrl(const HostPort& site, const QString& sessid, const QString& clientKey) {
    return siteRoot(site) + QStringLiteral("/?S=") + urlQueryValue(sessid) + QStringLiteral("&C=") +
           urlQueryValue(clientKey);
}

QString linkClientKey() {
    return scrambleStr(getClientKey());
}

} // namespace kovan

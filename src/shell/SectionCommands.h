#pragma once

#include <QList>
#include <QString>

namespace kovan {

// What the header and service buttons of the main window ask for: refresh addresses, service
// pages of the content pane, the instrument menu's page script, and the service buttons' tag
// rules. Pure functions of their inputs, any thread.
class SectionCommands {
public:
    // Refresh button of a section ("sg", "dt", "ay", "pl"): the web view and the page-server
    // path it is navigated to. The strategy path ends in "/", the other three do not.
    struct Refresh {
        QString view;
        QString path;
    };
    static Refresh refresh(const QString& key, const QString& sessid);

    // A content-pane page as showoptPage takes it (destory is always empty).
    struct ServicePage {
        QString title;
        QString params;
        int staytitle = 0;
        bool operator==(const ServicePage&) const = default;
    };
    // `button`: "MySETBTPae", "RzPanel9", "MyHotBtPae" (also topUNLab and the tray menu's
    // member centre) or "sgBtnSet". Unknown names give an empty page.
    static ServicePage servicePage(const QString& button, const QString& sessid);

    // Service button tags: 0 normal, 2 mouse over, 1 pressed.
    enum class Mouse { Enter, Leave, Down, Up };
    static int serviceTag(Mouse event);
    // The topImages index a service button shows for its tag.
    static int serviceImage(int tag);

    // The instrument menu (artsymmenu), items in order: name ("ASML_…") and caption.
    struct Instrument {
        QString name;
        QString caption;
    };
    static const QList<Instrument>& instruments();
    // ASML_XAGRMBClick: the page script for the chosen item, e.g. showArtBySYM('现货白银'), and
    // showArtBySYM('') for ASML_ALL.
    static QString instrumentScript(const QString& itemName, const QString& caption);
};

} // namespace kovan

#include "media/MediaModule.h"

#include "core/CommandRegistry.h"
#include "core/JsonParams.h"
#include "core/Lifecycle.h"
#include "media/TvdoForm.h"

#include <QJsonObject>

namespace kovan {

MediaModule::MediaModule() : m_vdoForm(std::make_unique<TvdoForm>()) {}

MediaModule::~MediaModule() = default;

void MediaModule::registerCommands(CommandRegistry& registry) {
    registry.addAction(QStringLiteral("playVideo"),
                       [this](const QString& params) { playVideoCommand(params); });
}

void MediaModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onExit(ExitStep::StopWorkers, [this] { m_vdoForm->controller().shutdown(); });
    lifecycle.onExit(ExitStep::HideWindows, [this] { m_vdoForm->hide(); });
    lifecycle.waitAtExit(QStringLiteral("video download"),
                         [this] { return m_vdoForm->controller().downloadThread() == nullptr; });
}

void MediaModule::playVideoCommand(const QString& aParam) {
    if (!m_vdoForm->isVisible())
        m_vdoForm->show();
    m_vdoForm->loadVideo(aParam);
}

void MediaModule::playVideo(const QString& title, const QString& url) {
    QJsonObject info;
    info.insert(QStringLiteral("title"), title);
    info.insert(QStringLiteral("url"), url);
    playVideoCommand(compactJson(info));
}

} // namespace kovan

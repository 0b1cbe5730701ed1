#include "media/MediaModule.h"

#include "core/CommandRegistry.h"
#include "core/JsonParams.h"
#include "core/Lifecycle.h"
#include "media/TvdoForm.h"

#include <QJsonObject>

namespace kovan {

MediaModule::MediaModule()
    : m_vdoForm([this] {
          auto form = std::make_unique<TvdoForm>();
          if (m_needs.paths)
              form->controller().setCacheDir(m_needs.paths->programDir + QStringLiteral("cache"));
          return form;
      }) {}

MediaModule::~MediaModule() = default;

TvdoForm* MediaModule::videoForm() {
    return m_vdoForm.get();
}

void MediaModule::registerCommands(CommandRegistry& registry) {
    registry.addAction(QStringLiteral("playVideo"),
                       [this](const QString& params) { playVideoCommand(params); });
}

void MediaModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onExit(ExitStep::StopWorkers, [this] {
        if (TvdoForm* form = m_vdoForm.ifBuilt())
            form->controller().shutdown();
    });
    lifecycle.onExit(ExitStep::HideWindows, [this] {
        if (TvdoForm* form = m_vdoForm.ifBuilt())
            form->hide();
    });
    lifecycle.waitAtExit(QStringLiteral("video download"), [this] {
        TvdoForm* form = m_vdoForm.ifBuilt();
        return !form || form->controller().downloadThread() == nullptr;
    });
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

#include "media/MediaModule.h"

#include "core/Lifecycle.h"
#include "media/TvdoForm.h"

namespace kovan {

MediaModule::MediaModule() : m_vdoForm(std::make_unique<TvdoForm>()) {}

MediaModule::~MediaModule() = default;

void MediaModule::registerCommands(CommandRegistry&) {}

void MediaModule::addSteps(Lifecycle&) {}

void MediaModule::playVideo(const QString&, const QString&) {}

} // namespace kovan

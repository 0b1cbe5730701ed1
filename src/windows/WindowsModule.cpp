#include "windows/WindowsModule.h"

#include "core/ProgramState.h"
#include "web/LectureConfig.h"
#include "windows/TcsnmForm.h"
#include "windows/TftForm.h"
#include "windows/TtosForm.h"

namespace kovan {

WindowsModule::WindowsModule()
    : m_lectureForm([this] {
          auto form = std::make_unique<TftForm>();
          // "去听听" in the lecture pop-up opens the lecture room in the plain web window.
          form->shownormalwindow = [this](const QString& title, const QString& url) {
              shownormalwindow(title, url);
          };
          return form;
      }) {}

WindowsModule::~WindowsModule() = default;

void WindowsModule::shownormalwindow(const QString& title, const QString& url) {
    m_webForm->shownormalwindow(title, url);
}

bool WindowsModule::showLecture() {
    return m_lectureForm->showLecture(LectureConfig::fromSettings(
        program().settings, program().paths.endpoints.pageServer.root()));
}

bool WindowsModule::showTerms(const QString& url, const QString& settingsKey) {
    m_tosForm->loadTosUrl(url, settingsKey);
    return m_tosForm->showModal();
}

} // namespace kovan

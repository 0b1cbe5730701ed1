#include "windows/WindowsModule.h"

#include "windows/LectureConfig.h"
#include "windows/TcsnmForm.h"
#include "windows/TftForm.h"
#include "windows/TtosForm.h"
#include "windows/WindowCommands.h"

namespace kovan {

WindowsModule::WindowsModule()
    : m_tosForm([this] { return std::make_unique<TtosForm>(*m_needs.settings); }),
      m_lectureForm([this] {
          auto form = std::make_unique<TftForm>();
          // "去听听" in the lecture pop-up opens the lecture room in the plain web window.
          form->shownormalwindow = [this](const QString& title, const QString& url) {
              shownormalwindow(title, url);
          };
          return form;
      }) {}

WindowsModule::~WindowsModule() = default;

void WindowsModule::registerCommands(CommandRegistry& registry) {
    registerWindowCommands(
        registry, {.shownormalwindow = [this](const QString& title,
                                              const QString& url) { shownormalwindow(title, url); },
                   .showLecture = [this] { return showLecture(); }});
}

void WindowsModule::shownormalwindow(const QString& title, const QString& url) {
    m_webForm->shownormalwindow(title, url);
}

bool WindowsModule::showLecture() {
    return m_lectureForm->showLecture(
        LectureConfig::fromSettings(*m_needs.settings, m_needs.paths->endpoints.pageServer.root()));
}

bool WindowsModule::showTerms(const QString& url, const QString& settingsKey) {
    m_tosForm->loadTosUrl(url, settingsKey);
    return m_tosForm->showModal();
}

} // namespace kovan

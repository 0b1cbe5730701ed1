#pragma once

class QWebEngineProfile;
class QWebEngineSettings;

namespace kovan {

class DeferredReplies;

// Must run before the QApplication exists: registers the bridge's "fcb" scheme and shares
// OpenGL contexts as the engine requires.
void prepareWebEngine();

// The one profile every web view of the client uses (cookies and cache shared between the
// section pages, the content pane, chart windows and the plain web window). Created on first
// use with the bridge's scheme handler installed. GUI thread only; lives until the
// application ends, so delete views and pages before that.
QWebEngineProfile* sharedProfile();

// The handler of deferred bridge answers, installed on sharedProfile().
DeferredReplies& deferredReplies();

// The host look of bridged views: no scroll bars; the engine's own context menu and keys stay.
void applyHostSettings(QWebEngineSettings* settings);

} // namespace kovan

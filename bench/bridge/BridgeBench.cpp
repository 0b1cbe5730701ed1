// Measures window.external.FCB round trips as a page sees them: the page times each call with
// performance.now() (page script → prompt → registry → answer → wrapper returns) and hands the
// samples back; this program prints median and 99th percentile per parameter size.
//
// Usage: bridge_bench [calls per size, default 2000]. Needs a display or
// QT_QPA_PLATFORM=offscreen; run as root it turns the page sandbox off, which cannot start there.

#include "core/CommandRegistry.h"
#include "core/ProgramState.h"
#include "web/HostWebView.h"
#include "web/WebEngineSetup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QTimer>
#include <QWebEnginePage>

#include <httplib.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

QVariant runJs(QWebEnginePage* page, const QString& code) {
    QEventLoop loop;
    auto value = std::make_shared<QVariant>();
    page->runJavaScript(code, [value, &loop](const QVariant& v) {
        *value = v;
        loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    return *value;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const std::size_t i = std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

} // namespace

int main(int argc, char** argv) {
    if (::geteuid() == 0) // the page sandbox cannot start as root
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    kovan::prepareWebEngine();
    QApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;

    httplib::Server server;
    server.set_keep_alive_timeout(1);
    server.Get("/bench", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<html><body>QZEARVersion bench</body></html>", "text/html");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread listener([&server] { server.listen_after_bind(); });
    while (!server.is_running())
        std::this_thread::yield();
    kovan::program().paths.endpoints.pageServer =
        kovan::HostPort{QStringLiteral("127.0.0.1"), quint16(port)};

    kovan::CommandRegistry registry;
    // A command of typical shape: looks at its parameter, answers a short text.
    registry.add(QStringLiteral("benchcmd"),
                 [](const QString& p) { return QString::number(p.size()); });

    int rc = 0;
    {
        kovan::HostWebView view(QStringLiteral("sgWeb"), 1);
        view.attachScriptHost(registry);
        bool loaded = false;
        QObject::connect(&view, &kovan::HostWebView::documentComplete,
                         [&loaded](bool) { loaded = true; });
        view.navigate(QUrl(QStringLiteral("http://127.0.0.1:%1/bench").arg(port)));
        QElapsedTimer t;
        t.start();
        while (!loaded && t.elapsed() < 30000)
            app.processEvents(QEventLoop::AllEvents, 10);

        std::printf("FCB round trip, %d calls per size (page-side timing, ms)\n", calls);
        // performance.now() is clamped to 0.1 ms steps in pages; the mean comes from the sum.
        std::printf("%-12s %10s %10s %10s %10s\n", "param chars", "median", "p99", "max", "mean");
        for (int size : {100, 10000}) {
            const QString script =
                QStringLiteral(
                    "(function(){var p='信'.repeat(%1),out=[];"
                    "for(var i=0;i<50;i++)window.external.FCB('benchcmd',p);" // warm-up
                    "for(var i=0;i<%2;i++){var t=performance.now();"
                    "var r=window.external.FCB('benchcmd',p);out.push(performance.now()-t);"
                    "if(r!=='%1')return 'bad answer '+r;}return out;})()")
                    .arg(size)
                    .arg(calls);
            const QVariant v = runJs(view.page(), script);
            if (v.typeId() != QMetaType::QVariantList) {
                std::fprintf(stderr, "bridge_bench: %s\n", qPrintable(v.toString()));
                rc = 1;
                break;
            }
            std::vector<double> samples;
            for (const QVariant& s : v.toList())
                samples.push_back(s.toDouble());
            double sum = 0;
            for (double x : samples)
                sum += x;
            std::printf("%-12d %10.3f %10.3f %10.3f %10.4f\n", size, percentile(samples, 0.5),
                        percentile(samples, 0.99), percentile(samples, 1.0),
                        sum / double(samples.size()));
        }
    }
    server.stop();
    listener.join();
    return rc;
}

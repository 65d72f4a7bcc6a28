#pragma once
// The body HTML a browser pane shows, read back from the web engine.
#include <QString>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>

namespace quillory::testing {

inline QString PageBodyHtml(QWebEnginePage* page) {
    QString body;
    bool done = false;
    page->runJavaScript(QStringLiteral("document.body.innerHTML"), [&](const QVariant& value) {
        body = value.toString();
        done = true;
    });
    return QTest::qWaitFor([&] { return done; }, 10000) ? body : QStringLiteral("<no answer>");
}

} // namespace quillory::testing

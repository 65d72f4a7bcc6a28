#pragma once
// The body HTML a browser pane shows, and where a text of it is, read back
// from the web engine.
#include <QJsonArray>
#include <QJsonDocument>
#include <QPoint>
#include <QString>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <optional>

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

// The centre, in the view's coordinates, of the first place where text
// stands in a text node under the first element matching selector; none
// when it stands nowhere there.
inline std::optional<QPoint> TextCentre(QWebEnginePage* page, const QString& selector, const QString& text) {
    const QString arguments =
        QString::fromUtf8(QJsonDocument(QJsonArray{selector, text}).toJson(QJsonDocument::Compact));
    const QString script =
        QStringLiteral(
            "(function (selector, text) {"
            "  var root = document.querySelector(selector);"
            "  var walker = root ? document.createTreeWalker(root, NodeFilter.SHOW_TEXT) : null;"
            "  for (var node = walker ? walker.nextNode() : null; node; node = walker.nextNode()) {"
            "    var at = node.data.indexOf(text);"
            "    if (at < 0) continue;"
            "    var range = document.createRange();"
            "    range.setStart(node, at);"
            "    range.setEnd(node, at + text.length);"
            "    var box = range.getBoundingClientRect();"
            "    return [box.left + box.width / 2, box.top + box.height / 2];"
            "  }"
            "  return null;"
            "}).apply(null, %1)")
            .arg(arguments);
    QVariantList centre;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& value) {
        centre = value.toList();
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000) || centre.size() != 2)
        return std::nullopt;
    return QPoint(qRound(centre[0].toDouble()), qRound(centre[1].toDouble()));
}

} // namespace quillory::testing

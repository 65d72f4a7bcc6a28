#include "pages/builders/StandalonePage.h"

#include "dictionary/text/Romanisation.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace quillory {

namespace {

const QString kResourceFolder = QStringLiteral(":/pages/");

bool ReadResource(const QString& name, QByteArray& bytes) {
    QFile file(kResourceFolder + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    bytes = file.readAll();
    return true;
}

QString ReadTextResource(const QString& name) {
    QByteArray bytes;
    return ReadResource(name, bytes) ? QString::fromUtf8(bytes) : QString();
}

// data: addresses of the embedded images, made once per call on demand.
class ImageInliner {
public:
    // The data: address of an embedded image, or empty when there is none.
    QString dataUrl(const QString& name) {
        const auto known = cache_.constFind(name);
        if (known != cache_.constEnd()) {
            return *known;
        }
        QByteArray bytes;
        QString url;
        if (ReadResource(name, bytes)) {
            url = QStringLiteral("data:image/gif;base64,") + QString::fromLatin1(bytes.toBase64());
        }
        cache_.insert(name, url);
        return url;
    }

    // Rewrites every match of pattern whose capture "name" is an embedded
    // image; before and after wrap the data: address.
    QString replace(const QString& text, const QRegularExpression& pattern, const QString& before,
                    const QString& after) {
        QString out;
        qsizetype copied = 0;
        QRegularExpressionMatchIterator it = pattern.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            const QString url = dataUrl(match.captured(u"name"));
            if (url.isEmpty()) {
                continue;
            }
            out += QStringView(text).mid(copied, match.capturedStart() - copied);
            out += before + url + after;
            copied = match.capturedEnd();
        }
        out += QStringView(text).mid(copied);
        return out;
    }

    // src=NAME.gif, quoted or not.
    QString inlineSources(const QString& html) {
        static const QRegularExpression pattern(
            QStringLiteral(R"(\bsrc\s*=\s*(["']?)(?<name>[A-Za-z0-9_\-]+\.gif)\1(?=[\s>/]|$))"),
            QRegularExpression::CaseInsensitiveOption);
        return replace(html, pattern, QStringLiteral("src=\""), QStringLiteral("\""));
    }

    // "NAME.gif" string literals of scripts, such as layout(6, "face2.gif").
    QString inlineScriptStrings(const QString& script) {
        static const QRegularExpression pattern(QStringLiteral(R"((["'])(?<name>[A-Za-z0-9_\-]+\.gif)\1)"));
        return replace(script, pattern, QStringLiteral("\""), QStringLiteral("\""));
    }

    // url(NAME.gif) of the style sheet.
    QString inlineStyleUrls(const QString& css) {
        static const QRegularExpression pattern(
            QStringLiteral(R"(url\(\s*(["']?)(?<name>[A-Za-z0-9_\-]+\.gif)\1\s*\))"));
        return replace(css, pattern, QStringLiteral("url(\""), QStringLiteral("\")"));
    }

private:
    QHash<QString, QString> cache_;
};

// Script text inside a <script> element must not close it early.
QString ScriptElement(QString script) {
    script.replace(QStringLiteral("</"), QStringLiteral("<\\/"));
    return QStringLiteral("<script>\n") + script + QStringLiteral("\n</script>");
}

QString StyleElement(QString css) {
    css.replace(QStringLiteral("</"), QStringLiteral("<\\/"));
    return QStringLiteral("<style>\n") + css + QStringLiteral("\n</style>");
}

// A JavaScript string literal that is safe inside a <script> element.
QString ScriptString(const QString& text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            out += u'\\';
            out += c;
        } else if (u < 0x20 || u == u'<' || u == u'>' || u == u'&' || u == 0x2028 || u == 0x2029) {
            out += QStringLiteral("\\u%1").arg(static_cast<unsigned>(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out + u'"';
}

// Replaces the shell's <link> to the style sheet and its <script src=...>
// elements by inline copies of the embedded files.
QString InlineHeadResources(QString shell, ImageInliner& images) {
    static const QRegularExpression styleLink(
        QStringLiteral(R"(<link\b[^>]*\bhref\s*=\s*["']?(?<name>[A-Za-z0-9_\-]+\.css)["']?[^>]*>)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression scriptSource(
        QStringLiteral(
            R"(<script\b[^>]*\bsrc\s*=\s*["']?(?<name>[A-Za-z0-9_\-]+\.js)["']?[^>]*>\s*</script\s*>)"),
        QRegularExpression::CaseInsensitiveOption);

    QString out;
    qsizetype copied = 0;
    auto splice = [&](const QRegularExpressionMatch& match, const QString& replacement) {
        out += QStringView(shell).mid(copied, match.capturedStart() - copied);
        out += replacement;
        copied = match.capturedEnd();
    };

    // Both kinds in document order, so the scripts keep their order.
    struct Found {
        QRegularExpressionMatch match;
        bool isStyle;
    };
    std::vector<Found> found;
    for (auto it = styleLink.globalMatch(shell); it.hasNext();) {
        found.push_back({it.next(), true});
    }
    for (auto it = scriptSource.globalMatch(shell); it.hasNext();) {
        found.push_back({it.next(), false});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.match.capturedStart() < b.match.capturedStart();
    });

    for (const Found& item : found) {
        const QString text = ReadTextResource(item.match.captured(u"name"));
        splice(item.match, item.isStyle ? StyleElement(images.inlineStyleUrls(text))
                                        : ScriptElement(images.inlineScriptStrings(text)));
    }
    out += QStringView(shell).mid(copied);
    return out;
}

bool IsShellName(const QString& name) {
    return name == u"index.html" || name == u"tech.html" || name == u"about.html";
}

} // namespace

// Pinyin spans hold the display font's codes for marked letters; a browser
// without the program's Pinyin font would show them as other Latin letters,
// so a standalone page carries the Unicode marks instead.
static QString PinyinSpansToUnicode(const QString& body) {
    static const QRegularExpression pinyinSpan(QStringLiteral("(<span class=py[a-z_]*>)([^<]*)(</span>)"));
    QString result;
    qsizetype last = 0;
    QRegularExpressionMatchIterator it = pinyinSpan.globalMatch(body);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        result += QStringView(body).mid(last, match.capturedStart(2) - last);
        result += FontFormToUnicode(match.capturedView(2));
        last = match.capturedEnd(2);
    }
    result += QStringView(body).mid(last);
    return result;
}

QString MakeStandalonePage(const QString& shellName, const QString& body, const QString& pageName) {
    if (!IsShellName(shellName)) {
        return {};
    }
    QString shell = ReadTextResource(shellName);
    if (shell.isEmpty()) {
        return {};
    }

    ImageInliner images;
    shell = images.inlineScriptStrings(images.inlineSources(shell));
    shell = InlineHeadResources(shell, images);

    const QString tail = images.inlineSources(PinyinSpansToUnicode(body)) +
                         QStringLiteral("\n<script>SetWhoAmI(") + ScriptString(pageName) +
                         QStringLiteral(");</script>\n");
    const qsizetype bodyEnd = shell.lastIndexOf(QStringLiteral("</body>"), -1, Qt::CaseInsensitive);
    if (bodyEnd < 0) {
        return shell + tail;
    }
    shell.insert(bodyEnd, tail);
    return shell;
}

} // namespace quillory

#include "cli/CommandLine.h"

#include <QHash>

namespace quillory::cli {

bool SplitCommandWords(const QString& line, QStringList& words) {
    words.clear();
    QString current;
    bool inWord = false;
    QChar quote;
    for (const QChar c : line) {
        if (!quote.isNull()) {
            if (c == quote) {
                quote = QChar();
            } else {
                current += c;
            }
            continue;
        }
        if (c.isSpace()) {
            if (inWord) {
                words.append(current);
                current.clear();
                inWord = false;
            }
            continue;
        }
        if ((c == u'"' || c == u'\'') && !inWord) {
            quote = c;
            inWord = true;
            continue;
        }
        if (c == u'"') {
            quote = c;
            continue;
        }
        current += c;
        inWord = true;
    }
    if (!quote.isNull()) {
        return false;
    }
    if (inWord) {
        words.append(current);
    }
    return true;
}

std::optional<Request> ParseRequest(const QStringList& words, QString* usageError) {
    static const QHash<QString, RequestKind> kinds = {
        {QStringLiteral("char"), RequestKind::Character},
        {QStringLiteral("hex"), RequestKind::Hex},
        {QStringLiteral("word"), RequestKind::Word},
        {QStringLiteral("english"), RequestKind::English},
        {QStringLiteral("pinyin"), RequestKind::Pinyin},
        {QStringLiteral("jyutping"), RequestKind::Jyutping},
        {QStringLiteral("strokes"), RequestKind::Strokes},
        {QStringLiteral("radical"), RequestKind::Radical},
        {QStringLiteral("page"), RequestKind::Page},
        {QStringLiteral("render"), RequestKind::Render},
        {QStringLiteral("search"), RequestKind::Search},
        {QStringLiteral("strokes-of"), RequestKind::StrokesOf},
        {QStringLiteral("lookup"), RequestKind::Lookup},
        {QStringLiteral("suggest"), RequestKind::Suggest},
    };
    if (words.isEmpty()) {
        *usageError = QStringLiteral("no command given");
        return std::nullopt;
    }
    const auto kind = kinds.constFind(words.first());
    if (kind == kinds.constEnd()) {
        *usageError = QStringLiteral("unknown command '%1'").arg(words.first());
        return std::nullopt;
    }
    QStringList rest = words.mid(1);
    if (rest.isEmpty()) {
        *usageError = QStringLiteral("'%1' needs an argument").arg(words.first());
        return std::nullopt;
    }
    // English phrases and search-box queries may come unquoted as several
    // words; every other command takes exactly one argument.
    const bool phrase =
        *kind == RequestKind::English || *kind == RequestKind::Search || IsSearchBoxRequest(*kind);
    if (!phrase && rest.size() > 1) {
        *usageError = QStringLiteral("'%1' takes one argument").arg(words.first());
        return std::nullopt;
    }
    return Request{*kind, rest.join(u' ')};
}

QString UsageText() {
    return QStringLiteral(
        "Usage: quillory-cli [--json] [--data FOLDER] [--lang N] COMMAND ARGUMENT\n"
        "       quillory-cli [--json] [--data FOLDER] [--lang N] batch   (one command per line on standard "
        "input)\n"
        "       quillory-cli [--lang N] render LINK -o FILE.html\n"
        "\n"
        "Commands:\n"
        "  char 中            one character: readings, meanings, radical, strokes, variants\n"
        "  hex 4E2D           the same, given by its code point\n"
        "  word 中文          a word in simplified or traditional characters\n"
        "  english \"to study\" Chinese words for an English word or phrase, best first\n"
        "  pinyin zhong1      every character read zhong, by tone\n"
        "  jyutping zung1     every character read zung, by tone\n"
        "  strokes 4          every character with 4 strokes\n"
        "  radical 2          every character under radical 2 (radical \"168'\" for a variant form)\n"
        "  page LINK          the HTML body a page link shows: mmpp://0=4E2D, mmpp://1=1916, mmpp://8=4,\n"
        "                     mmpp://9=2, or welcome, support, about\n"
        "  render LINK        the same as one standalone HTML file (-o FILE.html, or -o - for standard output)\n"
        "  search \"TEXT\"      what the search box posts for TEXT (command and value), or its message\n"
        "  lookup \"TEXT\"      what the search box finds for TEXT, best first: Chinese text, a code point,\n"
        "                     Pinyin or Jyutping typed any way (zhongwen, ni3hao3, lǚyóu, nei5 hou2) and\n"
        "                     English; one match a line: word  pinyin  jyutping  english\n"
        "  suggest PREFIX     the suggestions under the search box while PREFIX is typed:\n"
        "                     word  reading  gloss\n"
        "  strokes-of 永      the stroke order: each stroke's contour and direction; with --png DIR also\n"
        "                     the whole glyph and the strokes revealed one by one as PNG pictures\n"
        "\n"
        "--lang N chooses the language of page labels: 0 English, 1 Pinyin, 2 simplified Chinese,\n"
        "3 traditional Chinese, 4 Jyutping.\n"
        "\n"
        "Exit status: 0 found, 1 not found, 2 bad usage, 3 the data is missing or damaged.\n"
        "The data folder defaults to demo/ beside the program, else share/quillory of its\n"
        "installation prefix.\n");
}

} // namespace quillory::cli

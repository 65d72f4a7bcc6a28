// The Pinyin display font of the data folder: its family name, its coverage
// of the one-byte marked letters, the glyphs it draws for them (compared as
// rendered images with the base font's letters), and the script that builds it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRawFont>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString kFamily = QStringLiteral("Oxapinyin basic");
const QString kFontFile = QStringLiteral(QUILLORY_DATA_DIR "/Oxapinyin.ttf");
const QString kBaseFont = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");
const QString kScript = QStringLiteral(QUILLORY_SOURCE_DIR "/datagen/make_pinyin_font.py");

constexpr int kImageSize = 64;
constexpr int kPixelSize = 40;

// Draws one character of a raw font into a white image; null without a glyph.
QImage Render(const QRawFont& font, char32_t code) {
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&code, 1));
    if (glyphs.size() != 1 || glyphs.front() == 0)
        return {};
    QImage image(kImageSize, kImageSize, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions({QPointF(0, 0)});
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawGlyphRun(QPointF(8, 48), run);
    return image;
}

// The bounds of the ink in rows [top, bottom); empty when there is none.
QRect InkBounds(const QImage& image, int top = 0, int bottom = kImageSize) {
    QRect bounds;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Runs the font script; its exit code (-1 when it did not end normally) and
// its error output.
std::pair<int, QString> RunScript(const QString& base, const QString& out) {
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), {kScript, QStringLiteral("--base"), base, out});
    if (!process.waitForStarted() || !process.waitForFinished(120000))
        return {-1, {}};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

// The file's bytes; empty when it cannot be read.
QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The files in a temporary folder, hidden ones included.
QStringList FolderContents(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class PinyinFontTest : public QObject {
    Q_OBJECT

    int fontId_ = -1;
    QRawFont base_;

    // The font as the program reaches it: by family name.
    static QRawFont PinyinRaw() {
        QFont font(kFamily);
        font.setPixelSize(kPixelSize);
        font.setHintingPreference(QFont::PreferNoHinting);
        return QRawFont::fromFont(font);
    }

private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(kFontFile).isFile(), qPrintable(kFontFile));
        if (!QFileInfo(kBaseFont).isFile())
            QSKIP("the base font of the Pinyin font is not installed");
        fontId_ = QFontDatabase::addApplicationFont(kFontFile);
        QVERIFY(fontId_ != -1);
        base_ = QRawFont(kBaseFont, kPixelSize, QFont::PreferNoHinting);
        QVERIFY(base_.isValid());
    }

    void familyIsExactlyThePinyinFace() {
        QCOMPARE(QFontDatabase::applicationFontFamilies(fontId_), QStringList{kFamily});
        QCOMPARE(QFontInfo(QFont(kFamily)).family(), kFamily);
    }

    // Every font code 0xBF..0xDF is drawn here or in the nasal table below:
    // from 0xC0 the four tones of a, e, i, o, u and ü, which base font draws
    // as the letter composed with the tone's mark.
    void markedLettersAreTheBaseFontsLetters_data() {
        QTest::addColumn<uint>("code");
        QTest::addColumn<uint>("baseCode");
        const auto marked = [](QChar letter, int tone) {
            const QString marks = u"\u0304\u0301\u030C\u0300"_s;
            const QString composed =
                (letter + marks.mid(tone - 1, 1)).normalized(QString::NormalizationForm_C);
            return composed.size() == 1 ? uint(composed[0].unicode()) : 0u;
        };
        for (uint i = 0; i < 6; ++i)
            for (int tone = 1; tone <= 4; ++tone)
                QTest::addRow("%c%d", "aeiouv"[i], tone)
                    << 0xC0 + 4 * i + tone - 1 << marked(u"aeiouü"[i], tone);
        QTest::newRow("v5") << 0xBFu << 0x00FCu;
        QTest::newRow("m2") << 0xD9u << marked(u'm', 2);
        for (int tone = 2; tone <= 4; ++tone)
            QTest::addRow("n%d", tone) << 0xDBu + tone << marked(u'n', tone);
    }

    void markedLettersAreTheBaseFontsLetters() {
        QFETCH(uint, code);
        QFETCH(uint, baseCode);
        const QImage pinyin = Render(PinyinRaw(), code);
        const QImage latin1 = Render(base_, code);
        QVERIFY(!pinyin.isNull() && !latin1.isNull());
        QVERIFY(pinyin == Render(base_, baseCode));
        QVERIFY(pinyin != latin1);
    }

    void otherLatinLettersAreKept() {
        const QRawFont raw = PinyinRaw();
        for (char32_t code : {U'A', U'g', U'0', U'?', U'\u00BE', U'\u00E0', U'\u00E9', U'\u00FC', U'\u0101',
                              U'\u01DC', U'\u1E3F'}) {
            const QImage pinyin = Render(raw, code);
            QVERIFY2(!pinyin.isNull() && pinyin == Render(base_, code),
                     qPrintable(QString::number(code, 16)));
        }
    }

    void syllabicNasalsCarryTheirMarkAbove_data() {
        QTest::addColumn<uint>("code");
        QTest::addColumn<uint>("letter");
        QTest::addColumn<bool>("centred");
        // m1 to m4, then n1 to n4. m1, m3, m4 and n1 have no precomposed
        // letter: the font composes them, centring the mark over the letter.
        for (uint code = 0xD8; code <= 0xDF; ++code) {
            const char letter = code < 0xDC ? 'm' : 'n';
            QTest::addRow("%c%u", letter, (code - 0xD8) % 4 + 1)
                << code << uint(letter) << (code == 0xD8 || code == 0xDA || code == 0xDB || code == 0xDC);
        }
    }

    void syllabicNasalsCarryTheirMarkAbove() {
        QFETCH(uint, code);
        QFETCH(uint, letter);
        QFETCH(bool, centred);
        const QRawFont raw = PinyinRaw();
        const QImage marked = Render(raw, code);
        const QImage plain = Render(raw, letter);
        QVERIFY(!marked.isNull() && !plain.isNull());
        // The letter itself is drawn unchanged, and the mark stays clear of it.
        const QRect letterInk = InkBounds(plain);
        QVERIFY(!letterInk.isEmpty());
        const QRect letterRows(0, letterInk.top(), kImageSize, kImageSize - letterInk.top());
        QVERIFY(marked.copy(letterRows) == plain.copy(letterRows));
        // Ink above the letter's top, with a gap, within the letter's width.
        const QRect markInk = InkBounds(marked, 0, letterInk.top());
        QVERIFY(!markInk.isEmpty());
        QVERIFY(markInk.bottom() < letterInk.top() - 1);
        QVERIFY(markInk.top() > 0);
        QVERIFY(markInk.left() >= letterInk.left());
        QVERIFY(markInk.right() <= letterInk.right());
        if (centred)
            QVERIFY(qAbs((markInk.left() + markInk.right()) - (letterInk.left() + letterInk.right())) <= 3);
    }

    void scriptOutputIsReproducible() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString first = dir.filePath(QStringLiteral("first.ttf"));
        const QString second = dir.filePath(QStringLiteral("second.ttf"));
        for (const QString& out : {first, second}) {
            const auto [exitCode, errors] = RunScript(kBaseFont, out);
            QVERIFY2(exitCode == 0, qPrintable(errors));
        }
        const QByteArray bytes = ReadFile(first);
        QVERIFY(!bytes.isEmpty());
        QVERIFY(bytes == ReadFile(second));
        // The data folder's font is built from the same base.
        QVERIFY(bytes == ReadFile(kFontFile));
        // No temporary file is left beside the output.
        QCOMPARE(FolderContents(dir), QStringList({"first.ttf", "second.ttf"}));
    }

    void scriptFailsCleanly_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("outName");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing base font")
            << u"missing.ttf"_s << u"out.ttf"_s << u"base font was not found"_s;
        QTest::newRow("base is no font") << u"notes.ttf"_s << u"out.ttf"_s << u"cannot be read"_s;
        QTest::newRow("output folder missing")
            << kBaseFont << u"no/such/folder/out.ttf"_s << u"output folder does not exist"_s;
    }

    void scriptFailsCleanly() {
        QFETCH(QString, base);
        QFETCH(QString, outName);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(WriteFile(dir.filePath(u"notes.ttf"_s), "not a font, only text\n"));
        // An earlier output stays as it was.
        QVERIFY(WriteFile(dir.filePath(u"out.ttf"_s), "earlier font"));

        const auto [exitCode, errors] =
            RunScript(QFileInfo(base).isAbsolute() ? base : dir.filePath(base), dir.filePath(outName));
        QCOMPARE(exitCode, 1);
        QVERIFY2(errors.contains(message) && !errors.contains(QStringLiteral("Traceback")),
                 qPrintable(errors));
        QCOMPARE(ReadFile(dir.filePath(u"out.ttf"_s)), QByteArray("earlier font"));
        QCOMPARE(FolderContents(dir), QStringList({"notes.ttf", "out.ttf"}));
    }
};

QTEST_MAIN(PinyinFontTest)

#include "PinyinFontTest.moc"

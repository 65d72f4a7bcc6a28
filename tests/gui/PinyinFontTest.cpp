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

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int FilesIn(const QTemporaryDir& dir) {
    return int(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size());
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
        const QRawFont raw = PinyinRaw();
        QVERIFY(raw.isValid());
        QCOMPARE(raw.familyName(), kFamily);
        QCOMPARE(QFontInfo(QFont(kFamily)).family(), kFamily);
    }

    // Every font code 0xBF..0xDF is drawn here or in the nasal table below.
    void markedLettersAreTheBaseFontsLetters_data() {
        QTest::addColumn<uint>("code");
        QTest::addColumn<uint>("baseCode");
        const struct {
            char letter;
            uint first;
            uint tones[4];
        } letters[] = {
            {'a', 0xC0, {0x0101, 0x00E1, 0x01CE, 0x00E0}}, {'e', 0xC4, {0x0113, 0x00E9, 0x011B, 0x00E8}},
            {'i', 0xC8, {0x012B, 0x00ED, 0x01D0, 0x00EC}}, {'o', 0xCC, {0x014D, 0x00F3, 0x01D2, 0x00F2}},
            {'u', 0xD0, {0x016B, 0x00FA, 0x01D4, 0x00F9}}, {'v', 0xD4, {0x01D6, 0x01D8, 0x01DA, 0x01DC}},
        };
        for (const auto& letter : letters)
            for (int tone = 0; tone < 4; ++tone)
                QTest::addRow("%c%d", letter.letter, tone + 1) << letter.first + tone << letter.tones[tone];
        QTest::newRow("v5") << 0xBFu << 0x00FCu;
        QTest::newRow("m2") << 0xD9u << 0x1E3Fu;
        QTest::newRow("n2") << 0xDDu << 0x0144u;
        QTest::newRow("n3") << 0xDEu << 0x0148u;
        QTest::newRow("n4") << 0xDFu << 0x01F9u;
    }

    void markedLettersAreTheBaseFontsLetters() {
        QFETCH(uint, code);
        QFETCH(uint, baseCode);
        const QImage pinyin = Render(PinyinRaw(), code);
        const QImage latin1 = Render(base_, code);
        QVERIFY(!pinyin.isNull());
        QVERIFY(!latin1.isNull());
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
        QVERIFY(!marked.isNull());
        QVERIFY(!plain.isNull());

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
        const QByteArray bytes = ReadAll(first);
        QVERIFY(!bytes.isEmpty());
        QVERIFY(bytes == ReadAll(second));
        // The data folder's font is built from the same base.
        QVERIFY(bytes == ReadAll(kFontFile));
        // No temporary file is left beside the output.
        QCOMPARE(FilesIn(dir), 2);
    }

    void scriptFailsCleanly_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("outName");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing base font") << "missing.ttf"
                                           << "out.ttf"
                                           << "base font was not found";
        QTest::newRow("base is no font") << "notes.ttf"
                                         << "out.ttf"
                                         << "cannot be read";
        QTest::newRow("output folder missing") << kBaseFont << "no/such/folder/out.ttf"
                                               << "output folder does not exist";
    }

    void scriptFailsCleanly() {
        QFETCH(QString, base);
        QFETCH(QString, outName);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(Write(dir.filePath(QStringLiteral("notes.ttf")), "not a font, only text\n"));
        // An earlier output stays as it was.
        QVERIFY(Write(dir.filePath(QStringLiteral("out.ttf")), "earlier font"));

        const auto [exitCode, errors] =
            RunScript(QFileInfo(base).isAbsolute() ? base : dir.filePath(base), dir.filePath(outName));
        QCOMPARE(exitCode, 1);
        QVERIFY2(errors.contains(message) && !errors.contains(QStringLiteral("Traceback")),
                 qPrintable(errors));
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("out.ttf"))), QByteArray("earlier font"));
        QCOMPARE(FilesIn(dir), 2);
    }
};

QTEST_MAIN(PinyinFontTest)

#include "PinyinFontTest.moc"

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
const QString kPython = QStringLiteral("/usr/bin/python3");

constexpr int kImageSize = 64;
constexpr int kPixelSize = 40;
constexpr int kBaseline = 48;
constexpr int kLeft = 8;

// Draws one character of a raw font into a white image.
QImage Render(const QRawFont& font, char32_t code) {
    QImage image(kImageSize, kImageSize, QImage::Format_ARGB32);
    image.fill(Qt::white);
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&code, 1));
    if (glyphs.size() != 1 || glyphs.front() == 0)
        return {};
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions({QPointF(0, 0)});
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawGlyphRun(QPointF(kLeft, kBaseline), run);
    return image;
}

bool Inked(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 160;
}

// The bounds of the ink in rows [top, bottom); empty when there is none.
QRect InkBounds(const QImage& image, int top = 0, int bottom = kImageSize) {
    QRect bounds;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Inked(image, x, y))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

bool RowsEqual(const QImage& a, const QImage& b, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

struct ScriptRun {
    int exitCode = -1;
    QString errorText;
};

ScriptRun RunScript(const QStringList& arguments) {
    QProcess process;
    process.start(kPython, QStringList{kScript} + arguments);
    ScriptRun result;
    if (!process.waitForStarted() || !process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.errorText = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class PinyinFontTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void familyIsExactlyThePinyinFace();
    void markedLettersAreTheBaseFontsLetters_data();
    void markedLettersAreTheBaseFontsLetters();
    void otherLatinLettersAreKept();
    void syllabicNasalsCarryTheirMarkAbove_data();
    void syllabicNasalsCarryTheirMarkAbove();

    void scriptOutputIsReproducible();
    void scriptFailsCleanly_data();
    void scriptFailsCleanly();

private:
    QRawFont PinyinRaw() const;

    int fontId_ = -1;
    QRawFont base_;
};

void PinyinFontTest::initTestCase() {
    QVERIFY2(QFileInfo(kFontFile).isFile(), qPrintable(kFontFile));
    if (!QFileInfo(kBaseFont).isFile())
        QSKIP("the base font of the Pinyin font is not installed");
    fontId_ = QFontDatabase::addApplicationFont(kFontFile);
    QVERIFY(fontId_ != -1);
    base_ = QRawFont(kBaseFont, kPixelSize, QFont::PreferNoHinting);
    QVERIFY(base_.isValid());
}

void PinyinFontTest::cleanupTestCase() {
    if (fontId_ == -1)
        return;
    QVERIFY(QFontDatabase::removeApplicationFont(fontId_));
    QVERIFY(!QFontDatabase::families().contains(kFamily));
}

// The font as the program reaches it: by family name.
QRawFont PinyinFontTest::PinyinRaw() const {
    QFont font(kFamily);
    font.setPixelSize(kPixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return QRawFont::fromFont(font);
}

void PinyinFontTest::familyIsExactlyThePinyinFace() {
    QCOMPARE(QFontDatabase::applicationFontFamilies(fontId_), QStringList{kFamily});
    QVERIFY(QFontDatabase::families().contains(kFamily));
    const QRawFont raw = PinyinRaw();
    QVERIFY(raw.isValid());
    QCOMPARE(raw.familyName(), kFamily);
    QCOMPARE(QFontInfo(QFont(kFamily)).family(), kFamily);
}

// Every font code 0xBF..0xDF is drawn here or in the nasal table below.
void PinyinFontTest::markedLettersAreTheBaseFontsLetters_data() {
    QTest::addColumn<uint>("code");
    QTest::addColumn<uint>("baseCode");
    const struct {
        const char* letter;
        uint first;
        uint tones[4];
    } letters[] = {
        {"a", 0xC0, {0x0101, 0x00E1, 0x01CE, 0x00E0}}, {"e", 0xC4, {0x0113, 0x00E9, 0x011B, 0x00E8}},
        {"i", 0xC8, {0x012B, 0x00ED, 0x01D0, 0x00EC}}, {"o", 0xCC, {0x014D, 0x00F3, 0x01D2, 0x00F2}},
        {"u", 0xD0, {0x016B, 0x00FA, 0x01D4, 0x00F9}}, {"v", 0xD4, {0x01D6, 0x01D8, 0x01DA, 0x01DC}},
    };
    for (const auto& letter : letters)
        for (int tone = 0; tone < 4; ++tone)
            QTest::addRow("%s%d", letter.letter, tone + 1) << letter.first + tone << letter.tones[tone];
    QTest::newRow("v5") << 0xBFu << 0x00FCu;
    QTest::newRow("m2") << 0xD9u << 0x1E3Fu;
    QTest::newRow("n2") << 0xDDu << 0x0144u;
    QTest::newRow("n3") << 0xDEu << 0x0148u;
    QTest::newRow("n4") << 0xDFu << 0x01F9u;
}

void PinyinFontTest::markedLettersAreTheBaseFontsLetters() {
    QFETCH(uint, code);
    QFETCH(uint, baseCode);
    const QImage pinyin = Render(PinyinRaw(), code);
    const QImage marked = Render(base_, baseCode);
    const QImage latin1 = Render(base_, code);
    QVERIFY(!pinyin.isNull());
    QVERIFY(!marked.isNull());
    QVERIFY(!latin1.isNull());
    QVERIFY(pinyin == marked);
    QVERIFY(pinyin != latin1);
}

void PinyinFontTest::otherLatinLettersAreKept() {
    const QRawFont raw = PinyinRaw();
    for (char32_t code : {U'A', U'g', U'0', U'?', U'\u00BE', U'\u00E0', U'\u00E9', U'\u00FC', U'\u0101',
                          U'\u01DC', U'\u1E3F'}) {
        const QImage pinyin = Render(raw, code);
        QVERIFY2(!pinyin.isNull(), qPrintable(QString::number(code, 16)));
        QVERIFY2(pinyin == Render(base_, code), qPrintable(QString::number(code, 16)));
    }
}

void PinyinFontTest::syllabicNasalsCarryTheirMarkAbove_data() {
    QTest::addColumn<uint>("code");
    QTest::addColumn<uint>("letter");
    QTest::addColumn<bool>("centred");
    // m1, m3, m4 and n1 have no precomposed letter: the font composes them,
    // centring the mark over the letter.
    QTest::newRow("m1") << 0xD8u << uint('m') << true;
    QTest::newRow("m2") << 0xD9u << uint('m') << false;
    QTest::newRow("m3") << 0xDAu << uint('m') << true;
    QTest::newRow("m4") << 0xDBu << uint('m') << true;
    QTest::newRow("n1") << 0xDCu << uint('n') << true;
    QTest::newRow("n2") << 0xDDu << uint('n') << false;
    QTest::newRow("n3") << 0xDEu << uint('n') << false;
    QTest::newRow("n4") << 0xDFu << uint('n') << false;
}

void PinyinFontTest::syllabicNasalsCarryTheirMarkAbove() {
    QFETCH(uint, code);
    QFETCH(uint, letter);
    QFETCH(bool, centred);
    const QRawFont raw = PinyinRaw();
    const QImage marked = Render(raw, code);
    const QImage plain = Render(raw, letter);
    QVERIFY(!marked.isNull());
    QVERIFY(!plain.isNull());
    QVERIFY(marked != plain);

    // The letter itself is drawn unchanged, and the mark stays clear of it.
    const QRect letterInk = InkBounds(plain);
    QVERIFY(!letterInk.isEmpty());
    QVERIFY(RowsEqual(marked, plain, letterInk.top(), kImageSize));

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

void PinyinFontTest::scriptOutputIsReproducible() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString first = dir.filePath(QStringLiteral("first.ttf"));
    const QString second = dir.filePath(QStringLiteral("second.ttf"));
    for (const QString& out : {first, second}) {
        const ScriptRun run = RunScript({QStringLiteral("--base"), kBaseFont, out});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errorText));
    }
    const QByteArray bytes = ReadAll(first);
    QVERIFY(!bytes.isEmpty());
    QVERIFY(bytes == ReadAll(second));
    // The data folder's font is built from the same base.
    QVERIFY(bytes == ReadAll(kFontFile));
    // No temporary file is left beside the output.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void PinyinFontTest::scriptFailsCleanly_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("outName");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing base font") << QStringLiteral("missing.ttf") << QStringLiteral("out.ttf")
                                       << QStringLiteral("base font was not found");
    QTest::newRow("base is no font") << QStringLiteral("notes.ttf") << QStringLiteral("out.ttf")
                                     << QStringLiteral("cannot be read");
    QTest::newRow("output folder missing") << kBaseFont << QStringLiteral("no/such/folder/out.ttf")
                                           << QStringLiteral("output folder does not exist");
}

void PinyinFontTest::scriptFailsCleanly() {
    QFETCH(QString, base);
    QFETCH(QString, outName);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile notes(dir.filePath(QStringLiteral("notes.ttf")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a font, only text\n");
    notes.close();
    // An earlier output stays as it was.
    const QString out = dir.filePath(outName);
    QFile earlier(dir.filePath(QStringLiteral("out.ttf")));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier font");
    earlier.close();

    const QString basePath = QFileInfo(base).isAbsolute() ? base : dir.filePath(base);
    const ScriptRun run = RunScript({QStringLiteral("--base"), basePath, out});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errorText.contains(message), qPrintable(run.errorText));
    QVERIFY2(!run.errorText.contains(QStringLiteral("Traceback")), qPrintable(run.errorText));
    QCOMPARE(ReadAll(earlier.fileName()), QByteArray("earlier font"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

QTEST_MAIN(PinyinFontTest)

#include "PinyinFontTest.moc"

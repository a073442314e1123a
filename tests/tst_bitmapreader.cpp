// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapCases.h"
#include "style/AppError.h"
#include "style/BitmapReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace BitmapCases;

namespace {

QString errorOf(const QByteArray& path)
{
    try {
        readBitmap(path);
    } catch (const AppError& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

class tst_BitmapReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void readsValidPicture_data();
    void readsValidPicture();
    void rejectsBadContent_data();
    void rejectsBadContent();
    void deepPngMeetsTheLimitAtItsDecodedSize();
    void reportsWhyFileCannotOpen_data();
    void reportsWhyFileCannotOpen();
    void neverBlocksOnFifo_data();
    void neverBlocksOnFifo();
    void rereadsFileRewrittenWithinOneSecond();

private:
    QByteArray writeFile(const QString& name, const QByteArray& content);

    QTemporaryDir m_dir;
};

void tst_BitmapReader::initTestCase()
{
    QVERIFY2(m_dir.isValid(), qPrintable(m_dir.errorString()));
}

void tst_BitmapReader::init()
{
    // A warning from Qt's decoders means bad bytes got past the reader's own checks.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

QByteArray tst_BitmapReader::writeFile(const QString& name, const QByteArray& content)
{
    const QString path = m_dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(content) != content.size())
        qFatal("Cannot write fixture %s", qPrintable(path));
    return QFile::encodeName(path);
}

void tst_BitmapReader::readsValidPicture_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QImage>("expected");

    const QImage sixRgb = picture(six);
    QTest::addRow("bmp 24-bit") << "a.bmp" << Bmp().bytes() << sixRgb;
    QTest::addRow("bmp in a path with spaces and non-ASCII letters")
        << QStringLiteral("Frame Str\u00f6m \u0161\u00e9/Bild \u00e4 1.bmp") << Bmp().bytes()
        << sixRgb;

    Bmp topDown;
    topDown.height = -2;
    topDown.pixels = sixAs24Bit(true);
    QTest::addRow("bmp top-down") << "a.bmp" << topDown.bytes() << sixRgb;

    Bmp indexed8;
    indexed8.bits = 8;
    indexed8.coloursUsed = 6;
    indexed8.palette = six;
    indexed8.pixels = bmpRows({ "\x03\x04\x05", QByteArray("\x00\x01\x02", 3) });
    QTest::addRow("bmp 8-bit, 6 colours") << "a.bmp" << indexed8.bytes() << sixRgb;
    for (quint32 headerSize : { 64, 124 }) {
        Bmp variant = indexed8;
        variant.headerSize = headerSize;
        QTest::addRow("bmp 8-bit, %u-byte header", headerSize)
            << "a.bmp" << variant.bytes() << sixRgb;
    }

    Bmp indexed4;
    indexed4.bits = 4;
    indexed4.palette = six + QList<QRgb>(10, black);
    indexed4.pixels = bmpRows({ "\x34\x50", QByteArray("\x01\x20", 2) });
    QTest::addRow("bmp 4-bit") << "a.bmp" << indexed4.bytes() << sixRgb;
    Bmp core = indexed4;
    core.headerSize = 12;
    QTest::addRow("bmp 4-bit, OS/2 core header") << "a.BMP" << core.bytes() << sixRgb;

    Bmp mono;
    mono.bits = 1;
    mono.palette = { black, white };
    mono.pixels = bmpRows({ "\x60", "\xa0" });
    const QImage monoPicture = picture({ white, black, white, black, white, white });
    QTest::addRow("bmp 1-bit mask") << "a.bmp" << mono.bytes() << monoPicture;
    mono.palette = { white, black };
    QTest::addRow("bmp 1-bit mask, white first")
        << "a.bmp" << mono.bytes() << picture({ black, white, black, white, black, black });

    Bmp rgb32;
    rgb32.bits = 32;
    rgb32.pixels.clear();
    for (int i : { 3, 4, 5, 0, 1, 2 })
        rgb32.pixels += le(0x7f000000u | (six[i] & 0xffffff)); // no alpha without a mask
    QTest::addRow("bmp 32-bit") << "a.bmp" << rgb32.bytes() << sixRgb;

    Bmp fields32 = rgb32;
    fields32.compression = 3;
    fields32.masks = { 0x000000ff, 0x0000ff00, 0x00ff0000 };
    fields32.pixels.clear();
    for (int i : { 3, 4, 5, 0, 1, 2 })
        fields32.pixels += le(qRed(six[i]) | qGreen(six[i]) << 8 | qBlue(six[i]) << 16);
    QTest::addRow("bmp 32-bit bit fields") << "a.bmp" << fields32.bytes() << sixRgb;

    // Channel values small enough that Qt's scaling by shifting and by bit replication agree.
    Bmp fields16;
    fields16.bits = 16;
    fields16.compression = 3;
    fields16.masks = { 0xf800, 0x07e0, 0x001f };
    const int channels565[6][3]
        = { { 3, 15, 2 }, { 1, 7, 3 }, { 0, 0, 1 }, { 2, 0, 0 }, { 0, 9, 0 }, { 3, 1, 2 } };
    QByteArray top, bottom;
    QList<QRgb> expected565;
    for (int i = 0; i < 6; ++i) {
        const int* c = channels565[i];
        (i < 3 ? top : bottom) += le(quint32(c[0] << 11 | c[1] << 5 | c[2]), 2);
        expected565.append(qRgb(c[0] << 3, c[1] << 2, c[2] << 3));
    }
    fields16.pixels = bmpRows({ bottom, top });
    QTest::addRow("bmp 16-bit bit fields 5-6-5")
        << "a.bmp" << fields16.bytes() << picture(expected565);

    // Transparent pixels keep their colour: colour keys compare it.
    const QList<QRgb> translucent = { qRgba(0x40, 0x80, 0xc0, 0x80), qRgba(0x11, 0x22, 0x33, 0),
        six[2], six[3], qRgba(0xff, 0x00, 0x7f, 0x01), six[5] };
    const QImage alpha = picture(translucent, QImage::Format_ARGB32);
    Bmp v4 = rgb32;
    v4.headerSize = 108;
    v4.compression = 3;
    v4.masks = { 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000 };
    v4.pixels.clear();
    for (int i : { 3, 4, 5, 0, 1, 2 })
        v4.pixels += le(translucent[i]);
    QTest::addRow("bmp 32-bit with alpha, V4 header") << "a.bmp" << v4.bytes() << alpha;

    // Bottom row: a run of three alternating pixels; top row: three literal pixels.
    Bmp rle4 = indexed4;
    rle4.compression = 2;
    rle4.pixels = QByteArray("\x03\x34\x00\x00\x00\x03\x01\x20\x00\x01", 10);
    QTest::addRow("bmp RLE4") << "a.bmp" << rle4.bytes()
                              << picture({ six[0], six[1], six[2], six[3], six[4], six[3] });

    // Bottom row: literal pixels; top row: a jump over one pixel, one pixel, and the bitmap
    // ends early. Skipped pixels take palette colour 0, a grey that garbage would not give.
    const QRgb grey = qRgb(0x5a, 0x5a, 0x5a);
    Bmp rle8 = indexed8;
    rle8.compression = 1;
    rle8.coloursUsed = 7;
    rle8.palette = QList<QRgb> { grey } + six;
    rle8.pixels
        = QByteArray("\x00\x03\x04\x05\x06\x00\x00\x00\x00\x02\x01\x00\x01\x02\x00\x01", 16);
    QTest::addRow("bmp RLE8 with skipped pixels")
        << "a.bmp" << rle8.bytes() << picture({ grey, six[1], grey, six[3], six[4], six[5] });

    QTest::addRow("png rgb") << "a.png" << png(sixRgb) << sixRgb;
    QTest::addRow("png, upper-case extension") << "A.PNG" << png(sixRgb) << sixRgb;
    QTest::addRow("png with alpha") << "a.png" << png(alpha) << alpha;
    QImage indexed = sixRgb.convertToFormat(QImage::Format_Indexed8, six);
    QTest::addRow("png palette") << "a.png" << png(indexed) << sixRgb;
    indexed.setColor(1, translucent[0]);
    QList<QRgb> withTranslucent = six;
    withTranslucent[1] = translucent[0];
    QTest::addRow("png palette with alpha")
        << "a.png" << png(indexed) << picture(withTranslucent, QImage::Format_ARGB32);
    QImage grey8(3, 2, QImage::Format_Grayscale8);
    QList<QRgb> greys;
    for (int i = 0; i < 6; ++i) {
        const int level = (0x7f * i + 1) % 256; // 1, 128, 255, 126, 253, 124
        grey8.scanLine(i / 3)[i % 3] = uchar(level);
        greys.append(qRgb(level, level, level));
    }
    QTest::addRow("png grey") << "a.png" << png(grey8) << picture(greys);
    QTest::addRow("png 1-bit mask")
        << "a.png" << png(monoPicture.convertToFormat(QImage::Format_Mono)) << monoPicture;
}

void tst_BitmapReader::readsValidPicture()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QImage, expected);

    const QByteArray path = writeFile(fileName, content);
    // Leave garbage where the decoder is likely to allocate, so that a pixel it never writes
    // shows as a wrong colour rather than a lucky zero.
    {
        std::vector<QImage> dirt;
        for (int i = 0; i < 8; ++i) {
            dirt.emplace_back(expected.size(), QImage::Format_Indexed8);
            dirt.back().fill(0xab);
        }
    }
    QImage image;
    try {
        image = readBitmap(path);
    } catch (const AppError& error) {
        QFAIL(qPrintable(error.message()));
    }
    QCOMPARE(image.format(), expected.format());
    QCOMPARE(image, expected);
}

void tst_BitmapReader::rejectsBadContent_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    for (const BitmapCase& c : unrecognizedBitmaps())
        QTest::newRow(c.name.constData()) << c.fileName << c.content;
}

void tst_BitmapReader::rejectsBadContent()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);

    QCOMPARE(errorOf(writeFile(fileName, content)), notRecognized);
}

// Found by fuzzing (with its chunk CRCs made right): a PNG of 16 bits a channel, 524291 x 2, within
// a limit of 8 MB at 32 bits a pixel but beyond it at the 64 the decoder reads it at. The reader
// refuses it itself, before the decoder would, with a warning; on the pre-filled canvas the decoder
// is handed too.
void tst_BitmapReader::deepPngMeetsTheLimitAtItsDecodedSize()
{
    const QByteArray deep
        = QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200080003000000021006000000cbe8cc"
                              "a7000000097048597300000f6100000f6101a83fa76900000036494441540899"
                              "6314109963141050503030f8ffdfc0c0c0c0c080810146332c58b061c38103ff"
                              "ff5fb8f0e0c1870fffc4242cfcff3f00ab2f1666fb241eeb0000000049454e44"
                              "ae426082");
    const int before = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(8);
    QTest::failOnWarning(QRegularExpression(QStringLiteral("allocation limit")));
    QStringList errors;
    for (const std::optional<quint8> fill : { std::optional<quint8>(), std::optional<quint8>(0) }) {
        try {
            decodeBitmap("deep.png", deep, fill);
            errors.append(QStringLiteral("<no error>"));
        } catch (const AppError& error) {
            errors.append(error.message());
        }
    }
    QImageReader::setAllocationLimit(before);
    QCOMPARE(errors, QStringList({ notRecognized, notRecognized }));
}

void tst_BitmapReader::reportsWhyFileCannotOpen_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QString>("reason");

    // Open to every user, so only the files' own permissions stop one.
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    const QByteArray dir = QFile::encodeName(m_dir.path()) + "/cannot open/";
    QDir().mkpath(QFile::decodeName(dir) + "Frame.bmp");
    const QByteArray locked
        = writeFile(QStringLiteral("cannot open/locked.png"), png(picture(six)));
    ::chmod(locked.constData(), 0);
    ::symlink((dir + "nowhere.png").constData(), (dir + "dangling.png").constData());

    QTest::addRow("missing") << dir + "fehlt \xc3\xa4.png"
                             << "No such file or directory";
    QTest::addRow("directory") << dir + "Frame.bmp"
                               << "Is a directory";
    QTest::addRow("dangling symlink") << dir + "dangling.png"
                                      << "No such file or directory";
    QTest::addRow("no read permission") << locked << "Permission denied";
    QTest::addRow("file used as directory") << locked + "/a.png"
                                            << "Not a directory";
}

void tst_BitmapReader::reportsWhyFileCannotOpen()
{
    QFETCH(QByteArray, path);
    QFETCH(QString, reason);

    // Root reads any file: this thread checks files as another user for the call (dropping the
    // file-system uid drops the capability that overrides permissions, for this thread alone).
    const bool asNobody = ::geteuid() == 0;
    if (asNobody) {
        ::setfsgid(65534);
        ::setfsuid(65534);
        QCOMPARE(::setfsuid(65534), 65534);
    }
    const QString error = errorOf(path);
    if (asNobody) {
        ::setfsuid(0);
        ::setfsgid(0);
    }
    QCOMPARE(error,
        QStringLiteral("Cannot open file \"%1\". %2").arg(QString::fromLocal8Bit(path), reason));
}

void tst_BitmapReader::neverBlocksOnFifo_data()
{
    QTest::addColumn<bool>("writerHoldsItOpen");
    QTest::addRow("no writer") << false;
    QTest::addRow("writer holds it open with a picture in it") << true;
}

void tst_BitmapReader::neverBlocksOnFifo()
{
    QFETCH(bool, writerHoldsItOpen);

    const QByteArray path = QFile::encodeName(m_dir.filePath(QStringLiteral("pipe.png")));
    ::unlink(path.constData());
    QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    int holder = -1;
    if (writerHoldsItOpen) {
        holder = ::open(path.constData(), O_RDWR | O_NONBLOCK);
        const QByteArray content = png(picture(six));
        QVERIFY(::write(holder, content.constData(), size_t(content.size())) > 0);
    }

    // Should the reader wait on the FIFO, this releases it, so the test fails instead of hanging.
    std::mutex mutex;
    std::condition_variable returned;
    bool done = false;
    bool released = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (returned.wait_for(lock, std::chrono::seconds(10), [&] { return done; }))
            return;
        released = true;
        ::close(::open(path.constData(), O_WRONLY | O_NONBLOCK));
        ::close(std::exchange(holder, -1));
    });
    const QString message = errorOf(path);
    {
        const std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    returned.notify_one();
    watchdog.join();
    ::close(holder);

    QVERIFY2(!released, "readBitmap waited on a FIFO");
    QCOMPARE(message, notRecognized);
}

void tst_BitmapReader::rereadsFileRewrittenWithinOneSecond()
{
    // Same name, same size and, written back to back, the same modification second.
    for (QRgb colour : { qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255) }) {
        QImage source(4, 4, QImage::Format_RGB32);
        source.fill(colour);
        QCOMPARE(readBitmap(writeFile(QStringLiteral("rewritten.png"), png(source))).pixel(2, 2),
            colour);
    }
}

QTEST_GUILESS_MAIN(tst_BitmapReader)

#include "tst_bitmapreader.moc"

#include "controls/AppError.h"
#include "controls/BitmapReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const QString notRecognized = QStringLiteral("Image format not recognized");

// The 3x2 picture most fixtures hold, top row first. Every channel differs, so a swapped
// channel, row or column shows.
const QList<QRgb> six = { qRgb(0x10, 0x20, 0x30), qRgb(0x40, 0x50, 0x60), qRgb(0x70, 0x80, 0x90),
    qRgb(0xa0, 0xb0, 0xc0), qRgb(0xd0, 0xe0, 0xf0), qRgb(0xf1, 0x02, 0x13) };
const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);

QImage picture(const QList<QRgb>& topDown, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(3, int(topDown.size()) / 3, format);
    for (int i = 0; i < topDown.size(); ++i)
        image.setPixel(i % 3, i / 3, topDown[i]);
    return image;
}

QByteArray le(quint32 value, int size = 4)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += char(value >> (8 * i));
    return bytes;
}

QByteArray bgr(QRgb colour)
{
    return le(colour & 0xffffff, 3);
}

// Pads each row to the four bytes BMP rows are aligned to.
QByteArray bmpRows(std::initializer_list<QByteArray> rows)
{
    QByteArray bytes;
    for (const QByteArray& row : rows)
        bytes += row + QByteArray((4 - row.size() % 4) % 4, '\0');
    return bytes;
}

QByteArray sixAs24Bit(bool topDown = false)
{
    const QByteArray top = bgr(six[0]) + bgr(six[1]) + bgr(six[2]);
    const QByteArray bottom = bgr(six[3]) + bgr(six[4]) + bgr(six[5]);
    return topDown ? bmpRows({ top, bottom }) : bmpRows({ bottom, top });
}

// Written by hand rather than by QImageWriter, so every header field is ours to get wrong.
struct Bmp
{
    quint32 headerSize = 40;
    qint32 width = 3;
    qint32 height = 2;
    quint32 planes = 1;
    quint32 bits = 24;
    quint32 compression = 0;
    quint32 coloursUsed = 0;
    QList<QRgb> palette;
    QList<quint32> masks; // red, green, blue, alpha
    QByteArray pixels = sixAs24Bit();
    std::optional<quint32> pixelOffset;

    QByteArray bytes() const
    {
        QByteArray info = le(headerSize);
        if (headerSize == 12) {
            info += le(quint16(width), 2) + le(quint16(height), 2) + le(planes | bits << 16);
        } else {
            for (quint32 field : { quint32(width), quint32(height), planes | bits << 16,
                     compression, quint32(pixels.size()), 2835u, 2835u, coloursUsed, 0u })
                info += le(field);
            for (int i = 0; headerSize >= 108 && i < 4; ++i)
                info += le(masks.value(i));
            info += QByteArray(qMax(0, int(headerSize) - int(info.size())), '\0');
            for (int i = 0; headerSize == 40 && i < masks.size(); ++i)
                info += le(masks[i]);
        }
        QByteArray table;
        for (QRgb colour : palette)
            table += le(colour & 0xffffff, headerSize == 12 ? 3 : 4);
        const quint32 tablesEnd = quint32(14 + info.size() + table.size());
        return "BM" + le(tablesEnd + quint32(pixels.size())) + le(0)
            + le(pixelOffset.value_or(tablesEnd)) + info + table + pixels;
    }
};

QByteArray png(const QImage& image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return buffer.data();
}

struct PngChunk
{
    QByteArray type;
    qsizetype start = 0;
    qsizetype end = 0;
};

QList<PngChunk> pngChunks(const QByteArray& file)
{
    QList<PngChunk> chunks;
    for (qsizetype pos = 8; pos + 12 <= file.size(); pos = chunks.last().end)
        chunks.append({ file.mid(pos + 4, 4), pos,
            pos + 12 + qFromBigEndian<quint32>(file.constData() + pos) });
    return chunks;
}

// The PNG with its chunks of that type replaced by one well-formed chunk holding data.
QByteArray withChunk(const QByteArray& file, const QByteArray& type, const QByteArray& data)
{
    quint32 crc = 0xffffffffu;
    for (char byte : type + data) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
    }
    QByteArray chunk(12 + data.size(), '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    chunk.replace(4, 4 + data.size(), type + data);
    qToBigEndian<quint32>(crc ^ 0xffffffffu, chunk.data() + 8 + data.size());

    QByteArray result = file.left(8);
    bool placed = false;
    for (const PngChunk& c : pngChunks(file)) {
        if (c.type != type)
            result += file.mid(c.start, c.end - c.start);
        else if (!std::exchange(placed, true))
            result += chunk;
    }
    return result;
}

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

class TestBitmapReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void readsValidPicture_data();
    void readsValidPicture();
    void rejectsBadContent_data();
    void rejectsBadContent();
    void reportsWhyFileCannotOpen_data();
    void reportsWhyFileCannotOpen();
    void neverBlocksOnFifo_data();
    void neverBlocksOnFifo();
    void rereadsFileRewrittenWithinOneSecond();

private:
    QByteArray writeFile(const QString& name, const QByteArray& content);

    QTemporaryDir m_dir;
};

void TestBitmapReader::initTestCase()
{
    QVERIFY2(m_dir.isValid(), qPrintable(m_dir.errorString()));
}

void TestBitmapReader::init()
{
    // A warning from Qt's decoders means bad bytes got past the reader's own checks.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

QByteArray TestBitmapReader::writeFile(const QString& name, const QByteArray& content)
{
    const QString path = m_dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(content) != content.size())
        qFatal("Cannot write fixture %s", qPrintable(path));
    return QFile::encodeName(path);
}

void TestBitmapReader::readsValidPicture_data()
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

void TestBitmapReader::readsValidPicture()
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

void TestBitmapReader::rejectsBadContent_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");

    QImage source = picture(six);
    source.setText(QStringLiteral("Title"), QStringLiteral("Frame"));
    const QByteArray goodPng = png(source);
    const QByteArray goodBmp = Bmp().bytes();

    QTest::addRow("zero-byte png") << "a.png" << QByteArray();
    QTest::addRow("zero-byte bmp") << "a.bmp" << QByteArray();
    QTest::addRow("text named png") << "a.png" << QByteArray("This is not a picture.\n");
    QTest::addRow("png named bmp") << "a.bmp" << goodPng;
    QTest::addRow("bmp named png") << "a.png" << goodBmp;
    QTest::addRow("unknown extension") << "a.gif" << goodPng;
    QTest::addRow("no extension") << "a" << goodPng;

    QTest::addRow("png cut after signature") << "a.png" << goodPng.left(8);
    const QList<PngChunk> chunks = pngChunks(goodPng);
    for (const PngChunk& chunk : chunks) {
        if (chunk.type == "IEND")
            QTest::addRow("png without IEND") << "a.png" << goodPng.left(chunk.start);
        else if (chunk.end != chunks.last().start)
            QTest::addRow("png cut after %s", chunk.type.constData())
                << "a.png" << goodPng.left(chunk.end);
        // libpng only warns about a bad CRC in an ancillary chunk such as tEXt.
        if (chunk.type == "IDAT" || chunk.type == "tEXt") {
            const qsizetype middle = (chunk.start + chunk.end) / 2;
            QByteArray badCrc = goodPng;
            badCrc[middle] = char(badCrc[middle] ^ 0x10);
            QTest::addRow("png bad %s CRC", chunk.type.constData()) << "a.png" << badCrc;
        }
        if (chunk.type == "IDAT")
            QTest::addRow("png cut mid-IDAT")
                << "a.png" << goodPng.left((chunk.start + chunk.end) / 2);
    }
    QByteArray hugeHeader = goodPng.mid(16, 13);
    qToBigEndian<quint32>(20000, hugeHeader.data());
    qToBigEndian<quint32>(20000, hugeHeader.data() + 4);
    QTest::addRow("png declaring 20000x20000") << "a.png" << withChunk(goodPng, "IHDR", hugeHeader);
    // Well-formed chunks that only the decoder finds wrong; it leaves a partial picture behind.
    QTest::addRow("png with corrupt compressed data")
        << "a.png" << withChunk(goodPng, "IDAT", QByteArray(40, '\x5c'));
    QTest::addRow("png with too little image data")
        << "a.png" << withChunk(goodPng, "IDAT", qCompress(QByteArray(10, '\0')).mid(4));

    QTest::addRow("bmp header cut") << "a.bmp" << goodBmp.left(20);
    QTest::addRow("bmp truncated pixel array") << "a.bmp" << goodBmp.chopped(1);
    const auto addBmp = [](const char* name, auto change) {
        Bmp bmp;
        change(bmp);
        QTest::addRow("%s", name) << "a.bmp" << bmp.bytes();
    };
    addBmp("bmp pixel offset beyond file", [](Bmp& b) { b.pixelOffset = 14 + 40 + 24 + 4; });
    addBmp("bmp pixel offset inside headers", [](Bmp& b) { b.pixelOffset = 20; });
    addBmp("bmp pixel offset leaves too few bytes", [](Bmp& b) { b.pixelOffset = 14 + 40 + 4; });
    addBmp("bmp header size 41", [](Bmp& b) { b.headerSize = 41; });
    addBmp("bmp 52-byte header (Qt misreads it)", [](Bmp& b) { b.headerSize = 52; });
    addBmp("bmp zero width", [](Bmp& b) { b.width = 0; });
    addBmp("bmp negative width", [](Bmp& b) { b.width = -3; });
    addBmp("bmp zero height", [](Bmp& b) { b.height = 0; });
    addBmp("bmp two planes", [](Bmp& b) { b.planes = 2; });
    addBmp("bmp 2-bit", [](Bmp& b) { b.bits = 2; });
    addBmp("bmp RLE8 on 24-bit", [](Bmp& b) { b.compression = 1; });
    addBmp("bmp bit fields without masks", [](Bmp& b) {
        b.bits = 32;
        b.compression = 3;
        b.pixels = QByteArray(24, '\x7f');
    });
    // Big enough that Qt would read the missing palette out of the pixels and succeed.
    addBmp("bmp palette too short", [](Bmp& b) {
        b.width = 40;
        b.height = 26;
        b.bits = 8;
        b.palette = six;
        b.pixels = QByteArray(40 * 26, '\x01');
    });
    // Small enough to pass Qt's own limit at 8 bits a pixel, too big at 32.
    addBmp("bmp 8000x8000 RLE8 in a few bytes", [](Bmp& b) {
        b.width = b.height = 8000;
        b.bits = 8;
        b.compression = 1;
        b.palette = six;
        b.coloursUsed = 6;
        b.pixels = QByteArray("\x00\x01", 2);
    });
}

void TestBitmapReader::rejectsBadContent()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);

    QCOMPARE(errorOf(writeFile(fileName, content)), notRecognized);
}

void TestBitmapReader::reportsWhyFileCannotOpen_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QString>("reason");

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

void TestBitmapReader::reportsWhyFileCannotOpen()
{
    QFETCH(QByteArray, path);
    QFETCH(QString, reason);

    if (reason == QLatin1String("Permission denied")) {
        const int fd = ::open(path.constData(), O_RDONLY);
        if (fd >= 0) {
            ::close(fd);
            QSKIP("This user can read a file without read permission (running as root?)");
        }
    }
    QCOMPARE(errorOf(path),
        QStringLiteral("Cannot open file \"%1\". %2").arg(QString::fromLocal8Bit(path), reason));
}

void TestBitmapReader::neverBlocksOnFifo_data()
{
    QTest::addColumn<bool>("writerHoldsItOpen");
    QTest::addRow("no writer") << false;
    QTest::addRow("writer holds it open with a picture in it") << true;
}

void TestBitmapReader::neverBlocksOnFifo()
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

void TestBitmapReader::rereadsFileRewrittenWithinOneSecond()
{
    // Same name, same size and, written back to back, the same modification second.
    for (QRgb colour : { qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255) }) {
        QImage source(4, 4, QImage::Format_RGB32);
        source.fill(colour);
        QCOMPARE(readBitmap(writeFile(QStringLiteral("rewritten.png"), png(source))).pixel(2, 2),
            colour);
    }
}

QTEST_GUILESS_MAIN(TestBitmapReader)

#include "tst_bitmapreader.moc"

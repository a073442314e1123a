// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleFixture.h"
#include "WindowHarness.h"
#include "preview/LiveMinimizeButton.h"
#include "style/BitmapReader.h"
#include "style/ErrorText.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtTest>
#include <functional>
#include <optional>

// Damages a style directory at random, round after round, and drives a load pass and the live
// minimize button over it. Every event must report exactly the errors the files on disk call
// for, and every image must show the file its last successful load read. Which hover failures
// stay quiet is the minimize button's own rule (its suite pins it down): a second button of the
// program's, on spare images beside the window, says what the window's one must report. The
// seeds are fixed; a failure names the seed and the round, so it can be replayed.
class tst_Corruption : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void survivesCorruption_data();
    void survivesCorruption();

private:
    using Look = StyleFile::State;

    struct Read
    {
        QString file;
        ImageControl* image; // null for a working bitmap
        ImageControl* corner; // the corner a working bitmap is composed into
    };

    void connectObservers();
    std::optional<QString> failureOf(const QString& file) const;
    QByteArray pathOf(const QString& file) const
    {
        return m_style->dirBytes() + file.toLocal8Bit();
    }
    QList<Read> passReads() const;

    void expectLoadPass();
    bool expectButton(const std::function<void(LiveMinimizeButton&)>& step);
    void expectHover(Look look);
    void expectShow(Look look, const QString& label);
    void expectPane(const QString& label);
    void check(const QString& event);

    void mutate(QRandomGenerator& random);
    void restore(const QString& file);
    QString pickFile(QRandomGenerator& random) const;

    std::unique_ptr<StyleFixture> m_style;
    std::unique_ptr<WindowHarness> m_h;
    QHash<QString, QByteArray> m_pristine;
    QHash<const ImageControl*, QByteArray> m_expectedSource;
    StyleState m_referenceState;
    std::unique_ptr<ImageControl> m_referenceFace;
    std::unique_ptr<ImageControl> m_referenceGlyph;
    std::unique_ptr<LiveMinimizeButton> m_reference;
    QStringList m_expectedReports;
    QString m_expectedLabel;
    QStringList m_mismatches;
    QString m_where;
    // What the rounds went through, printed so a seed that stopped exercising something shows.
    int m_completePasses = 0;
    int m_reports = 0;
    int m_quietRepeats = 0;
};

void tst_Corruption::init()
{
    m_style = std::make_unique<StyleFixture>(QStringLiteral("Broken Style"));
    m_style->writeAll();
    m_pristine.clear();
    for (const QString& file : StyleFixture::files()) {
        QFile in(m_style->path(file));
        QVERIFY(in.open(QIODevice::ReadOnly));
        m_pristine.insert(file, in.readAll());
    }
    m_h = std::make_unique<WindowHarness>();
    // Chosen before the first show, so no pass reads the machine's fixed style paths.
    m_h->chooseStyle(m_style->dir());
    m_h->frm->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_h->frm.get()));
    QCoreApplication::processEvents();
    QTest::mouseMove(m_h->frm->ActiveWindow, { 150, 120 });
    QCOMPARE(m_h->reports, QStringList());

    const TfrmMain& frm = *m_h->frm;
    m_expectedSource.clear();
    for (const Read& read : passReads())
        for (const ImageControl* image : { read.image, read.corner })
            if (image)
                m_expectedSource.insert(image, image->sourcePath());
    for (const ImageControl* image :
        { frm.ActiveButtonMinimize, frm.ActiveGlyphMinimize, frm.imgActual })
        m_expectedSource.insert(image, image->sourcePath());
    m_expectedLabel = frm.lblBitmap->text();
    m_referenceState.StyleDir = m_style->dirBytes();
    m_referenceFace = std::make_unique<ImageControl>();
    m_referenceGlyph = std::make_unique<ImageControl>();
    m_reference = std::make_unique<LiveMinimizeButton>(
        m_referenceState, m_referenceFace.get(), m_referenceGlyph.get());
    m_expectedReports.clear();
    m_mismatches.clear();
    m_completePasses = m_reports = m_quietRepeats = 0;
    connectObservers();
}

void tst_Corruption::cleanup()
{
    m_reference.reset();
    m_referenceFace.reset();
    m_referenceGlyph.reset();
    m_h.reset();
    m_style.reset();
}

// Connected after the window's own handlers, so each observer runs right after its handler.
void tst_Corruption::connectObservers()
{
    TfrmMain& frm = *m_h->frm;
    for (ImageControl* image : { frm.ActiveButtonMinimize, frm.ActiveGlyphMinimize }) {
        connect(image, &ImageControl::mouseMoved, this, [this] {
            expectHover(Look::Over);
            check(QStringLiteral("movement"));
        });
        connect(image, &ImageControl::mouseLeft, this, [this] {
            expectHover(Look::Normal);
            check(QStringLiteral("leave"));
        });
    }
    connect(frm.ActiveGlyphMinimize, &ImageControl::mousePressed, this, [this] {
        expectShow(Look::Press, QStringLiteral(" captionbutton_press.png"));
        check(QStringLiteral("press"));
    });
    connect(frm.ActiveGlyphMinimize, &ImageControl::clicked, this, [this] {
        expectPane(QStringLiteral(" captionbutton_normal.png"));
        check(QStringLiteral("click"));
    });
    connect(frm.ActiveGlyphMinimize, &ImageControl::mouseReleased, this, [this] {
        expectShow(Look::Over, QStringLiteral(" captionbutton_over.png"));
        check(QStringLiteral("release"));
    });
}

std::optional<QString> tst_Corruption::failureOf(const QString& file) const
{
    try {
        readBitmap(pathOf(file));
    } catch (const std::exception& error) {
        return ErrorText::format(ErrorText::messageOf(error));
    }
    return std::nullopt;
}

QList<tst_Corruption::Read> tst_Corruption::passReads() const
{
    QList<Read> reads;
    const auto window
        = [&](const SampleWindowView& v, const QString& state, const QString& glyphs) {
              const auto piece = [&](const char* name) {
                  return QLatin1String(name) + state + QLatin1String(".png");
              };
              const auto glyph = [&](const char* name) {
                  return QLatin1String(name) + glyphs + QLatin1String(".png");
              };
              const QString face = QStringLiteral("captionbutton_normal.png");
              reads.append({ piece("captionbar_left_"), nullptr, v.captionbarLeft });
              if (reads.size() == 2) // the right mask is read once, after the first left corner
                  reads.append({ QStringLiteral("frame_mask_right.bmp"), nullptr, nullptr });
              reads.append({ piece("captionbar_right_"), nullptr, v.captionbarRight });
              reads.append({ piece("captionbar_"), v.captionbar, nullptr });
              reads.append({ piece("framebottom_left_"), v.framebottomLeft, nullptr });
              reads.append({ piece("framebottom_right_"), v.framebottomRight, nullptr });
              reads.append({ piece("framebottom_"), v.framebottom, nullptr });
              reads.append({ piece("frameleft_"), v.frameleft, nullptr });
              reads.append({ piece("frameleft_"), v.frameright, nullptr });
              for (ImageControl* button :
                  { v.buttonClose, v.buttonMaximize, v.buttonMinimize, v.buttonRestore })
                  reads.append({ face, button, nullptr });
              reads.append({ glyph("close_active_"), v.glyphClose, nullptr });
              reads.append({ glyph("maximize_active_"), v.glyphMaximize, nullptr });
              reads.append({ glyph("minimize_active_"), v.glyphMinimize, nullptr });
              reads.append({ glyph("restore_active_"), v.glyphRestore, nullptr });
          };
    reads.append({ QStringLiteral("frame_mask_left.bmp"), nullptr, nullptr });
    window(m_h->frm->inactiveView(), QStringLiteral("inactive"), QStringLiteral("disable"));
    window(m_h->frm->activeView(), QStringLiteral("active"), QStringLiteral("normal"));
    return reads;
}

// The pass stops at the first file that cannot be read; what it loaded before stays.
void tst_Corruption::expectLoadPass()
{
    m_reference->styleLoaded();
    for (const Read& read : passReads()) {
        if (const std::optional<QString> failure = failureOf(read.file)) {
            m_expectedReports.append(*failure);
            return;
        }
        if (read.image)
            m_expectedSource[read.image] = pathOf(read.file);
        else if (read.corner)
            m_expectedSource[read.corner] = QByteArray(); // composed: no file of its own
    }
    ++m_completePasses;
}

// Runs the step on the reference button, through the program's own report into the expected
// reports; the window's face and glyph must then show what the reference images loaded.
bool tst_Corruption::expectButton(const std::function<void(LiveMinimizeButton&)>& step)
{
    m_referenceFace->setPicture(QImage());
    m_referenceGlyph->setPicture(QImage());
    const qsizetype before = m_expectedReports.size();
    const ErrorReport::Presenter window = ErrorReport::setPresenter(
        [this](const QString& text) { m_expectedReports.append(text); });
    ErrorReport::guard([&] { step(*m_reference); });
    ErrorReport::setPresenter(window);

    const TfrmMain& frm = *m_h->frm;
    const std::pair<const ImageControl*, const ImageControl*> twins[]
        = { { frm.ActiveButtonMinimize, m_referenceFace.get() },
              { frm.ActiveGlyphMinimize, m_referenceGlyph.get() } };
    bool loaded = true;
    for (const auto& [image, reference] : twins) {
        if (reference->sourcePath().isEmpty())
            loaded = false;
        else
            m_expectedSource[image] = reference->sourcePath();
    }
    if (!loaded && m_expectedReports.size() == before)
        ++m_quietRepeats;
    return loaded;
}

void tst_Corruption::expectHover(Look look)
{
    expectButton([look](LiveMinimizeButton& button) {
        if (look == Look::Over)
            button.hover();
        else
            button.leave();
    });
}

void tst_Corruption::expectShow(Look look, const QString& label)
{
    if (expectButton([look](LiveMinimizeButton& button) { button.show(look); }))
        expectPane(label);
}

void tst_Corruption::expectPane(const QString& label)
{
    m_expectedSource[m_h->frm->imgActual] = m_expectedSource.value(m_h->frm->ActiveButtonMinimize);
    m_expectedLabel = label;
}

void tst_Corruption::check(const QString& event)
{
    const QString where = m_where + QLatin1String(", ") + event + QLatin1String(": ");
    if (m_h->reports != m_expectedReports)
        m_mismatches.append(where + QLatin1String("reports ")
            + m_h->reports.join(QLatin1String(" | ")) + QLatin1String(" expected ")
            + m_expectedReports.join(QLatin1String(" | ")));
    m_reports += int(m_h->reports.size());
    m_h->reports.clear();
    m_expectedReports.clear();
    for (auto it = m_expectedSource.cbegin(); it != m_expectedSource.cend(); ++it) {
        const ImageControl* image = it.key();
        if (image->sourcePath() != it.value())
            m_mismatches.append(where + image->objectName() + QLatin1String(" shows ")
                + QString::fromLocal8Bit(image->sourcePath()) + QLatin1String(" expected ")
                + QString::fromLocal8Bit(it.value()));
        // An auto-sized image always has its picture's size, whatever failed.
        if (image->autoSize() && !image->picture().isNull()
            && image->size() != image->picture().size())
            m_mismatches.append(where + image->objectName() + QLatin1String(" lost its size"));
    }
    if (m_h->frm->lblBitmap->text() != m_expectedLabel)
        m_mismatches.append(where + QLatin1String("label ") + m_h->frm->lblBitmap->text());
    if (m_h->frm->state().StyleDir != m_style->dirBytes())
        m_mismatches.append(where + QLatin1String("StyleDir ")
            + QString::fromLocal8Bit(m_h->frm->state().StyleDir));
}

QString tst_Corruption::pickFile(QRandomGenerator& random) const
{
    // Half the time one of the live button's files, so hovering meets damage often.
    static const QStringList button = { QStringLiteral("captionbutton_normal.png"),
        QStringLiteral("captionbutton_over.png"), QStringLiteral("captionbutton_press.png"),
        QStringLiteral("minimize_active_normal.png"), QStringLiteral("minimize_active_over.png"),
        QStringLiteral("minimize_active_press.png") };
    const QStringList& from = random.bounded(2) ? button : StyleFixture::files();
    return from.at(int(random.bounded(qsizetype(from.size()))));
}

void tst_Corruption::restore(const QString& file)
{
    const QString path = m_style->path(file);
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    QFile out(path);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(m_pristine.value(file));
}

void tst_Corruption::mutate(QRandomGenerator& random)
{
    const QString file = pickFile(random);
    const QString path = m_style->path(file);
    QFile target(path);
    switch (random.bounded(7)) {
    case 0: { // flip bytes
        if (!target.open(QIODevice::ReadWrite))
            return;
        QByteArray bytes = target.readAll();
        if (bytes.isEmpty())
            return;
        for (int flips = 1 + int(random.bounded(4)); flips > 0; --flips) {
            const qsizetype at = random.bounded(bytes.size());
            bytes[at] = char(bytes.at(at) ^ char(1 + random.bounded(255)));
        }
        target.seek(0);
        target.write(bytes);
        return;
    }
    case 1: // truncate
        if (target.size() > 0)
            target.resize(random.bounded(target.size()));
        return;
    case 2: // delete
        if (QFileInfo(path).isDir())
            QDir(path).removeRecursively();
        else
            target.remove();
        return;
    case 3: { // swap with another file, whatever either is
        const QString other = m_style->path(pickFile(random));
        const QString parked = m_style->dir() + QStringLiteral("parked");
        QDir dir(m_style->dir());
        dir.rename(path, parked);
        dir.rename(other, path);
        dir.rename(parked, other);
        return;
    }
    case 4: // replace by a directory
        target.remove();
        QDir().mkpath(path);
        return;
    default:
        restore(file);
    }
}

void tst_Corruption::survivesCorruption_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : { 1u, 7u, 42u, 1234u, 99991u })
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void tst_Corruption::survivesCorruption()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    TfrmMain& frm = *m_h->frm;
    const Qt::MouseButton buttons[] = { Qt::LeftButton, Qt::MiddleButton, Qt::RightButton };
    for (int round = 0; round < 100; ++round) {
        m_where = QStringLiteral("seed %1 round %2").arg(seed).arg(round);
        if (random.bounded(4) == 0)
            for (const QString& file : StyleFixture::files())
                restore(file);
        for (int n = 1 + int(random.bounded(3)); n > 0; --n)
            mutate(random);

        expectLoadPass();
        m_h->chooseStyle(m_style->dir());
        check(QStringLiteral("load pass"));

        QTest::mouseMove(frm.ActiveGlyphMinimize, { 5, 6 });
        QTest::mouseMove(frm.ActiveGlyphMinimize, { 6, 6 });
        QTest::mouseMove(frm.ActiveButtonMinimize, { 1, 1 });
        QTest::mouseMove(frm.ActiveGlyphMinimize, { 6, 7 });
        // A press is always released: a button left down would ride on the next movements.
        const Qt::MouseButton button = buttons[random.bounded(3)];
        QTest::mousePress(frm.ActiveGlyphMinimize, button, {}, { 6, 6 });
        if (random.bounded(2))
            mutate(random);
        const QPoint release = random.bounded(2) ? QPoint(6, 6) : QPoint(60, 40);
        QTest::mouseRelease(frm.ActiveGlyphMinimize, button, {}, release);
        mutate(random);
        QTest::mouseMove(frm.ActiveGlyphMinimize, { 7, 6 });
        QTest::mouseMove(frm.ActiveGlyphMinimize, { 5, 5 });
        QTest::mouseMove(frm.ActiveWindow, { 150, 120 });

        QVERIFY2(
            m_mismatches.isEmpty(), qPrintable(m_mismatches.mid(0, 5).join(QLatin1Char('\n'))));
        QVERIFY2(m_h->reports.isEmpty(),
            qPrintable(m_where + QLatin1String(": a report outside any event: ")
                + m_h->reports.join(QLatin1String(" | "))));
    }
    qDebug("seed %u: 100 rounds, %d complete load passes, %d reports, %d repeated hover failures "
           "kept quiet",
        seed, m_completePasses, m_reports, m_quietRepeats);
    QVERIFY(m_completePasses > 0 && m_quietRepeats > 0);
}

QTEST_MAIN(tst_Corruption)
#include "tst_corruption.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleFixture.h"
#include "preview/StyleWatch.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>
#include <functional>

using namespace std::chrono_literals;

namespace {

constexpr auto kQuiet = 10ms;
// Long enough that a second signal for the same change would have come.
constexpr int kNoMoreMs = 200;

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Rewritten in place: the same inode, new content.
bool rewrite(StyleFixture& style, const QString& name)
{
    QFile file(style.path(name));
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray bytes = file.readAll();
    return file.seek(0) && file.write(bytes) == bytes.size();
}

// As most editors save: a new file renamed over the old one.
bool renameOver(StyleFixture& style, const QString& name)
{
    QFile file(style.path(name));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString temporary = style.dir() + QStringLiteral(".save-") + name;
    return writeBytes(temporary, file.readAll())
        && std::rename(QFile::encodeName(temporary).constData(),
               QFile::encodeName(style.path(name)).constData())
        == 0;
}

bool deleteAndRecreate(StyleFixture& style, const QString& name)
{
    QFile file(style.path(name));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    file.close();
    return QFile::remove(style.path(name)) && writeBytes(style.path(name), bytes);
}

// A branch switch: the whole directory goes and comes back.
bool recreateDirectory(StyleFixture& style, const QString&)
{
    if (!QDir(style.dir()).removeRecursively() || !QDir().mkpath(style.dir()))
        return false;
    style.writeAll();
    return true;
}

// The directory and its parent gone, so the watch stands on the grandparent; then back.
bool recreateParent(StyleFixture& style, const QString&)
{
    const QString parent = QDir::cleanPath(style.dir() + QStringLiteral(".."));
    if (!QDir(parent).removeRecursively())
        return false;
    QCoreApplication::processEvents();
    if (!QDir().mkpath(parent))
        return false;
    QCoreApplication::processEvents();
    if (!QDir().mkpath(style.dir()))
        return false;
    style.writeAll();
    return true;
}

bool containsAll(const QStringList& changed)
{
    for (const QString& name : StyleFixture::files())
        if (!changed.contains(name))
            return false;
    return true;
}

using Edit = std::function<bool(StyleFixture&, const QString&)>;

} // namespace
Q_DECLARE_METATYPE(Edit)

class tst_StyleWatch : public QObject
{
    Q_OBJECT

private slots:
    void editGivesOnePass_data();
    void editGivesOnePass();
    void burstGivesOnePass();
    void otherFilesChangeNothing();
    void missingDirectoryIsWaitedFor();
};

void tst_StyleWatch::editGivesOnePass_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("everyFile");

    QTest::newRow("in-place rewrite") << Edit(rewrite) << "captionbar_inactive.png" << false;
    QTest::newRow("rename over") << Edit(renameOver) << "minimize_active_over.png" << false;
    QTest::newRow("rename over a mask") << Edit(renameOver) << "frame_mask_left.bmp" << false;
    QTest::newRow("deleted and re-created")
        << Edit(deleteAndRecreate) << "frameleft_active.png" << false;
    QTest::newRow("directory re-created") << Edit(recreateDirectory) << QString() << true;
    QTest::newRow("parent re-created") << Edit(recreateParent) << QString() << true;
}

void tst_StyleWatch::editGivesOnePass()
{
    QFETCH(Edit, edit);
    QFETCH(QString, file);
    QFETCH(bool, everyFile);

    StyleFixture style(QStringLiteral("styles/Mine/Frame"));
    style.writeAll();
    StyleWatch watch(kQuiet);
    watch.setDirectory(style.dir());
    QSignalSpy settled(&watch, &StyleWatch::settled);

    QVERIFY(edit(style, file));
    QTRY_COMPARE(settled.size(), 1);
    QVERIFY2(!settled.wait(kNoMoreMs), "one edit gave a second pass");
    const QStringList changed = settled.first().first().toStringList();
    if (everyFile)
        QVERIFY2(containsAll(changed), qPrintable(changed.join(' ')));
    else
        QVERIFY2(changed.contains(file), qPrintable(changed.join(' ')));

    // And it goes on watching: the next edit gives the next pass.
    QVERIFY(rewrite(style, QStringLiteral("captionbar_active.png")));
    QTRY_COMPARE(settled.size(), 2);
    QVERIFY(settled.last().first().toStringList().contains("captionbar_active.png"));
}

void tst_StyleWatch::burstGivesOnePass()
{
    StyleFixture style;
    style.writeAll();
    // Long enough that the whole burst falls inside one quiet period on a busy machine.
    StyleWatch watch(2000ms);
    watch.setDirectory(style.dir());
    QSignalSpy settled(&watch, &StyleWatch::settled);
    for (int i = 0; i < 300; ++i) {
        const QString& name = StyleFixture::files().at(i % StyleFixture::files().size());
        QVERIFY(i % 3 ? rewrite(style, name) : renameOver(style, name));
        QCoreApplication::processEvents();
    }
    QVERIFY(settled.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(settled.size(), 1, 10000);
    QVERIFY2(!settled.wait(2500), "a burst gave a second pass");
    QVERIFY(containsAll(settled.first().first().toStringList()));
}

void tst_StyleWatch::otherFilesChangeNothing()
{
    StyleFixture style;
    style.writeAll();
    StyleWatch watch(kQuiet);
    watch.setDirectory(style.dir());
    QSignalSpy settled(&watch, &StyleWatch::settled);
    QVERIFY(writeBytes(style.path(QStringLiteral("notes.txt")), "draft"));
    QVERIFY(writeBytes(style.path(QStringLiteral("notes.txt")), "draft 2"));
    QVERIFY(!settled.wait(kNoMoreMs));
}

void tst_StyleWatch::missingDirectoryIsWaitedFor()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString dir = root.path() + QStringLiteral("/checkout/Frame/");
    StyleWatch watch(kQuiet);
    watch.setDirectory(dir);
    QCOMPARE(watch.watchedPaths(), QStringList { root.path() });
    QSignalSpy settled(&watch, &StyleWatch::settled);

    // Unrelated entries of the ancestor are no news; the way down is followed.
    QVERIFY(QDir(root.path()).mkdir(QStringLiteral("elsewhere")));
    QVERIFY(QDir(root.path()).mkdir(QStringLiteral("checkout")));
    QTRY_COMPARE(watch.watchedPaths(), QStringList { root.path() + QStringLiteral("/checkout") });
    QVERIFY(!settled.wait(kNoMoreMs));

    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("checkout/Frame")));
    QTRY_COMPARE(settled.size(), 1);
    QVERIFY(watch.watchedPaths().contains(root.path() + QStringLiteral("/checkout/Frame")));
}

QTEST_GUILESS_MAIN(tst_StyleWatch)
#include "tst_stylewatch.moc"

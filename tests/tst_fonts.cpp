// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadmeFonts.h"
#include "WindowHarness.h"

#include <QApplication>
#include <QFontInfo>
#include <QTest>
#include <cstdio>

// The window's X11-named fonts with only the README's fonts on the machine, in a process of its
// own: FONTCONFIG_FILE is set before the font system starts, so no other font can answer.
class tst_Fonts : public QObject
{
    Q_OBJECT

private slots:
    void helveticaControlsShowTheFontSystemsHelvetica_data();
    void helveticaControlsShowTheFontSystemsHelvetica();
};

void tst_Fonts::helveticaControlsShowTheFontSystemsHelvetica_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : { "Label1", "Label3", "lblBitmap", "Label5", "Label6", "SpeedButton4",
             "SpeedButton5", "SpeedButton6" })
        QTest::newRow(name) << QString::fromLatin1(name);
}

// fontconfig stands Liberation Sans in for Helvetica; a generic sans-serif hint would give
// DejaVu Sans instead.
void tst_Fonts::helveticaControlsShowTheFontSystemsHelvetica()
{
    QFETCH(QString, name);
    WindowHarness h;
    auto* widget = h.frm->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(
        QFontInfo(QFont(QStringLiteral("Helvetica"))).family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(QFontInfo(widget->font()).family(), QStringLiteral("Liberation Sans"));
}

int main(int argc, char* argv[])
{
    QTemporaryDir fontDir;
    QString why;
    const QString config = writeReadmeFontConfig(fontDir.path(), &why);
    if (config.isEmpty()) {
        std::fprintf(stderr, "tst_fonts: %s\n", qPrintable(why));
        return 1;
    }
    qputenv("FONTCONFIG_FILE", QFile::encodeName(config));
    prepareApplication();
    QApplication app(argc, argv);
    tst_Fonts test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fonts.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ErrorReport.h"
#include "controls/AppLook.h"
#include "style/AppError.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <stdexcept>

class tst_ErrorReport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fullStop_data();
    void fullStop();
    void guardHandsTheErrorOn_data();
    void guardHandsTheErrorOn();
    void guardKeepsWhatRanBeforeTheError();
    void queuedReportWaitsForTheEventLoop();
    void setPresenterReturnsThePrevious();
    void defaultPresenterIsAModalBox();

private:
    QStringList m_reports;
    ErrorReport::Presenter m_previous;
};

void tst_ErrorReport::init()
{
    m_reports.clear();
    m_previous = ErrorReport::setPresenter([this](const QString& text) { m_reports << text; });
}

void tst_ErrorReport::cleanup()
{
    ErrorReport::setPresenter(m_previous);
}

void tst_ErrorReport::fullStop_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("ends in a letter") << "Image format not recognized"
                                      << "Image format not recognized.";
    QTest::newRow("system reason") << "Cannot open file \"/s/a.png\". No such file or directory"
                                   << "Cannot open file \"/s/a.png\". No such file or directory.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("closing parenthesis") << "Failed (5)"
                                         << "Failed (5)";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("exclamation mark") << "Stop!"
                                      << "Stop!";
    QTest::newRow("comma") << "a,"
                           << "a,";
    QTest::newRow("hyphen") << "a-"
                            << "a-";
    QTest::newRow("double quote") << "file \"x\""
                                  << "file \"x\"";
    QTest::newRow("space") << "a "
                           << "a ";
    QTest::newRow("slash, just above the full stop") << "dir/"
                                                     << "dir/.";
    QTest::newRow("digit") << "error 5"
                           << "error 5.";
    QTest::newRow("colon") << "reason:"
                           << "reason:.";
    QTest::newRow("non-ASCII letter")
        << QString::fromUtf8("Fehler ä") << QString::fromUtf8("Fehler ä.");
}

void tst_ErrorReport::fullStop()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorText::format(message), shown);
    ErrorReport::show(message);
    QCOMPARE(m_reports, QStringList { shown });
}

void tst_ErrorReport::guardHandsTheErrorOn_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("program error") << 0 << QStringList { "Image format not recognized." };
    QTest::newRow("standard exception") << 1 << QStringList { "bad thing." };
    QTest::newRow("nothing thrown") << 2 << QStringList {};
}

void tst_ErrorReport::guardHandsTheErrorOn()
{
    QFETCH(int, kind);
    QFETCH(QStringList, expected);
    ErrorReport::guard([kind] {
        if (kind == 0)
            throw AppError::formatNotRecognized();
        if (kind == 1)
            throw std::runtime_error("bad thing");
    });
    QCOMPARE(m_reports, expected);
}

void tst_ErrorReport::guardKeepsWhatRanBeforeTheError()
{
    QStringList steps;
    ErrorReport::guard([&] {
        steps << "first";
        throw AppError(QStringLiteral("second failed"));
        steps << "third";
    });
    steps << "after";
    QCOMPARE(steps, (QStringList { "first", "after" }));
    QCOMPARE(m_reports, QStringList { "second failed." });
}

void tst_ErrorReport::queuedReportWaitsForTheEventLoop()
{
    ErrorReport::guard([] { throw AppError(QStringLiteral("later")); }, ErrorReport::When::Queued);
    QVERIFY(m_reports.isEmpty());
    QTRY_COMPARE(m_reports, QStringList { "later." });
}

void tst_ErrorReport::setPresenterReturnsThePrevious()
{
    QStringList other;
    ErrorReport::Presenter mine
        = ErrorReport::setPresenter([&](const QString& text) { other << text; });
    ErrorReport::show(QStringLiteral("x"));
    ErrorReport::setPresenter(mine);
    ErrorReport::show(QStringLiteral("y"));
    QCOMPARE(other, QStringList { "x." });
    QCOMPARE(m_reports, QStringList { "y." });
}

void tst_ErrorReport::defaultPresenterIsAModalBox()
{
    ErrorReport::setPresenter(m_previous);
    QWidget window;
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QString seen;
    bool modal = false;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = box->text();
        modal = box->isModal();
        owner = box->parentWidget();
        box->accept();
    });
    // Returns only once the box is closed: a box left open would hang here.
    ErrorReport::show(AppError(QStringLiteral("Image format not recognized")));
    QCOMPARE(seen, QStringLiteral("Image format not recognized."));
    QVERIFY(modal);
    QCOMPARE(owner, &window);
    // The window that was active before the box is active again after it.
    QTRY_COMPARE(QApplication::activeWindow(), &window);
}

int main(int argc, char* argv[])
{
    prepareApplication();
    QApplication app(argc, argv);
    applyApplicationLook();
    tst_ErrorReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorreport.moc"

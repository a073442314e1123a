// SPDX-License-Identifier: GPL-3.0-or-later
// A style directory, as the style check, the window's load pass and its live minimize button
// read it. The input begins with a header: for each file the window reads, in the table's
// order, its length as 16 bits little-endian, 0xffff for a file that is not there; then one
// byte n, n bytes naming one more file (for the check's near misses) and its length. The files'
// contents follow in the same order, the last ones cut short where the input ends.
//
// Besides the sanitizers, the check must agree with the window: a failing pass or hover shows
// a message the check lists as an error, and a pass or hover that succeeds has no file of its
// own among the check's errors.

#include "FuzzSupport.h"
#include "app/ErrorReport.h"
#include "app/uMain.h"
#include "controls/AppLook.h"
#include "style/StyleCheck.h"
#include "style/StyleFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <unistd.h>
#include <utility>

namespace {

struct Session
{
    QTemporaryDir programDir;
    QTemporaryDir styleDir;
    QList<const StyleFile*> files;
    QList<QByteArray> passFiles;
    QList<QByteArray> hoverFiles { StyleFiles::faceFile(StyleFile::State::Over),
        StyleFiles::minimizeGlyphFile(StyleFile::State::Over) };
    QByteArray extraFile;
    std::optional<QString> report;
    std::unique_ptr<TfrmMain> frm;

    explicit Session(const QString& tmpfs)
        : programDir(tmpfs + QStringLiteral("/framewright-fuzz-program-XXXXXX"))
        , styleDir(tmpfs + QStringLiteral("/framewright-fuzz-style-XXXXXX"))
    { }

    // The extra name may be no valid UTF-8, which QTemporaryDir's own removal cannot name: it
    // would leave the directory behind and warn at exit.
    ~Session()
    {
        if (!extraFile.isEmpty())
            ::unlink((QFile::encodeName(styleDir.path()) + '/' + extraFile).constData());
    }
};

Session* session = nullptr;

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "fuzz_style: %s\n", qPrintable(what));
    std::abort();
}

void writeFile(const QByteArray& path, const char* data, qsizetype size)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, data, size_t(size)) != ssize_t(size) || ::close(fd) != 0)
        fail(QStringLiteral("cannot write %1").arg(QString::fromLocal8Bit(path)));
}

// The one extra file's name, kept to a plain name inside the directory.
QByteArray extraName(QByteArray name)
{
    name.replace('/', '_').replace('\0', '_');
    if (name.isEmpty() || name == "." || name == ".." || StyleFiles::find(name))
        return {};
    return name;
}

// Runs a handler as the window does and returns what it reported, if anything.
template<typename F>
std::optional<QString> reported(F&& handler)
{
    session->report.reset();
    ErrorReport::guard(std::forward<F>(handler));
    return std::exchange(session->report, std::nullopt);
}

void expectAgreement(const StyleReport& check, const char* what,
    const std::optional<QString>& failure, const QList<QByteArray>& filesRead)
{
    for (const StyleProblem& problem : check.problems) {
        if (problem.severity != StyleProblem::Severity::Error)
            continue;
        if (failure && problem.message == *failure)
            return;
        if (!failure && filesRead.contains(problem.file))
            fail(QStringLiteral("the %1 succeeded, the check has an error: %2: %3")
                     .arg(QLatin1String(what), QString::fromLocal8Bit(problem.file),
                         problem.message));
    }
    if (failure)
        fail(QStringLiteral("the %1 reported \"%2\", the check has no such error")
                 .arg(QLatin1String(what), *failure));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    static int argc = 1;
    static char arg0[] = "fuzz_style";
    static char* argv[] = { arg0, nullptr };
    prepareApplication();
    static QApplication app(argc, argv);
    applyApplicationLook();
    FuzzSupport::limitPictures();

    // TMPDIR where one is chosen (tools/fuzz.sh puts it on tmpfs), else the system's tmpfs.
    const bool shm
        = qEnvironmentVariableIsEmpty("TMPDIR") && QDir(QStringLiteral("/dev/shm")).exists();
    static Session s(shm ? QStringLiteral("/dev/shm") : QDir::tempPath());
    session = &s;
    if (!s.programDir.isValid() || !s.styleDir.isValid())
        fail(QStringLiteral("cannot make the temporary directories"));
    for (const char* name : { "help.htm", "Luna.uis" })
        writeFile(QFile::encodeName(s.programDir.filePath(QLatin1String(name))), "<p>x</p>\n", 9);
    for (const StyleFile& file : StyleFiles::all()) {
        if (file.reader != StyleFile::Reader::Nobody)
            s.files.append(&file);
        if (file.reader == StyleFile::Reader::LoadPass)
            s.passFiles.append(file.name);
    }
    ErrorReport::setPresenter([](const QString& text) { session->report = text; });
    s.frm = std::make_unique<TfrmMain>(nullptr, s.programDir.path() + QLatin1Char('/'));
    s.frm->cboPaths->addItem(s.styleDir.path() + QLatin1Char('/'));
    s.frm->cboPaths->setCurrentIndex(s.frm->cboPaths->count() - 1);
    qInstallMessageHandler(FuzzSupport::abortOnWarning);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    qsizetype pos = 0;
    const auto length = [&]() -> qsizetype {
        if (input.size() - pos < 2)
            return -1;
        const int value = quint8(input[pos]) | quint8(input[pos + 1]) << 8;
        pos += 2;
        return value == 0xffff ? -1 : value;
    };
    QList<qsizetype> lengths;
    for (int i = 0; i < session->files.size(); ++i)
        lengths.append(length());
    const qsizetype nameLength = pos < input.size() ? quint8(input[pos++]) : 0;
    const QByteArray extra = extraName(input.mid(pos, nameLength));
    pos = qMin(input.size(), pos + nameLength);
    const qsizetype extraLength = length();

    const QByteArray dir = QFile::encodeName(session->styleDir.path()) + '/';
    const auto place = [&](const QByteArray& name, qsizetype wanted) {
        if (wanted < 0) {
            ::unlink((dir + name).constData());
            return;
        }
        const qsizetype taken = qMin(wanted, input.size() - pos);
        writeFile(dir + name, input.constData() + pos, taken);
        pos += taken;
    };
    for (int i = 0; i < session->files.size(); ++i)
        place(session->files[i]->name, lengths[i]);
    if (!session->extraFile.isEmpty())
        ::unlink((dir + session->extraFile).constData());
    session->extraFile = extra;
    if (!extra.isEmpty())
        place(extra, extraLength);

    const StyleReport check = checkStyle(dir);
    TfrmMain* frm = session->frm.get();
    const std::optional<QString> pass = reported([frm] { frm->Button1Click(); });
    const std::optional<QString> hover = reported([frm] { frm->ActiveGlyphMinimizeMouseMove(); });

    expectAgreement(check, "load pass", pass, session->passFiles);
    expectAgreement(check, "hover", hover, session->hoverFiles);
    return 0;
}

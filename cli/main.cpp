// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StyleCommand.h"
#include "controls/AppLook.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

namespace {

// The toolkit's own -platform (or --platform) argument, or its environment variable.
bool platformChosen(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    return false;
}

// The toolkit's own notes (a missing runtime directory, an offscreen platform's limits) are not
// the program's output: standard error carries the style's problems alone.
void keepToolkitNotesQuiet(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

int main(int argc, char* argv[])
{
    // No display needed: a style's CI has none.
    qInstallMessageHandler(keepToolkitNotesQuiet);
    if (!platformChosen(argc, argv))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareApplication();
    QApplication app(argc, argv);
    applyApplicationLook();
    QApplication::setApplicationName(QStringLiteral("framewright-style"));
    QApplication::setApplicationVersion(QStringLiteral(FRAMEWRIGHT_VERSION));

    // The toolkit has taken its own arguments out; the rest keep their exact bytes.
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return runStyleCommand(arguments);
}

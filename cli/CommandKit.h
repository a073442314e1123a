// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QImage>
#include <QString>

// What every command of framewright-style shares, so that each is worded and done one way: the
// exit statuses, the synopses and help, the lines on standard output and error, the usage error,
// counted words, the whole-or-nothing picture writer and the options several commands take.
namespace CommandKit {

constexpr int kSuccess = 0;
constexpr int kProblems = 1;
constexpr int kBadUsage = 2;

extern const char kProgram[];
extern const char kCheckUsage[];
extern const char kRenderUsage[];
extern const char kDiffUsage[];
extern const char kSheetUsage[];
extern const char kStatesUsage[];
extern const char kExportUsage[];
extern const char kImportUsage[];

void out(const QByteArray& line);
void err(const QByteArray& line);

// The message, the command's synopsis (every command's when usage is null) and where help is;
// returns kBadUsage.
int badUsage(const QByteArray& message, const char* usage);
int showHelp();

// The parser's text back to the argument's exact bytes (each byte was read as the Latin-1
// character of its code).
QByteArray bytesOf(const QString& parsed);

// Written whole or not at all; says why on standard error when it cannot be.
bool writePicture(const QImage& picture, const QByteArray& path);

// "1 file", "2 files".
QByteArray plural(qsizetype count, const char* one, const char* many);

// The options several commands take, named and described one way: --minimize
// normal|over|press (normal unless given) and --size WxH.
QCommandLineOption minimizeOption();
QCommandLineOption sizeOption();

} // namespace CommandKit

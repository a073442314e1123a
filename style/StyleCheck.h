// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

// One thing wrong with a style, or likely other than its author means.
struct StyleProblem
{
    enum class Severity { Error, Warning };
    QByteArray file; // file name inside the directory (raw bytes); empty: the directory itself
    Severity severity = Severity::Error;
    QString message; // the window's text after its full-stop rule, or the warning text
    // The kind of problem, stable across versions for CI annotations and JSON: cannot-open,
    // not-an-image, out-of-memory, unlistable-dir, cut-size, stretched-size, mask-colours,
    // all-key-colour, shape-change, near-miss-name.
    const char* rule = "";
};

struct StyleReport
{
    QByteArray dir; // exactly as given (raw bytes)
    QList<StyleProblem> problems; // in a stable order
    int errors() const;
    int warnings() const;
};

// Reads every file the window reads from dir, each once and through the window's own bitmap
// reader, and lists every problem at once: errors where a load pass or a hover would fail, with
// the window's message, and warnings where the window would draw something other than the
// author likely means. A dir that cannot be listed gives one problem for the dir alone.
// Never throws.
StyleReport checkStyle(const QByteArray& dir);

// A size as every message and picture words it: "12 x 29".
QString sizeText(QSize size);

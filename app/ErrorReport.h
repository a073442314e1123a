// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "style/ErrorText.h"

#include <QString>
#include <exception>
#include <functional>
#include <utility>

// The application's general error report: every error that leaves a handler ends here and is
// shown to the user in a modal message box; the program then goes on with the next event.
class ErrorReport
{
public:
    using Presenter = std::function<void(const QString& text)>;

    // Now: the box opens inside the failing call. Queued: it opens once control is back in the
    // event loop, for a failure during show, so the box has the shown window behind it.
    enum class When { Now, Queued };

    static void show(const QString& message);
    static void show(const std::exception& error);

    // Tests swap the message box for a recorder; returns the presenter that was in place.
    static Presenter setPresenter(Presenter presenter);

    // The one place that catches: runs f and hands whatever it throws to the report, since Qt
    // does not let exceptions leave a slot or event handler.
    template<typename F>
    static void guard(F&& f, When when = When::Now)
    {
        try {
            std::forward<F>(f)();
        } catch (const std::exception& error) {
            report(ErrorText::messageOf(error), when);
        }
    }

private:
    static void report(const QString& message, When when);
};

#pragma once

#include "core/observer.h"

#include <QPointer>
#include <QSignalBlocker>
#include <QString>
#include <QWidget>

#include <exception>
#include <string>
#include <utility>

namespace volmara {

inline QString qs(const std::string& text) { return QString::fromStdString(text); }
inline QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Models have no unsubscribe: the handler checks that its widget still exists.
template <typename W, typename F>
void refreshOn(Observable& model, W* widget, F refresh)
{
    model.subscribe([w = QPointer<W>(widget), refresh] {
        if (w)
            refresh(*w);
    });
}

// Sets a widget from the model without its change signals writing the value back.
template <typename W, typename F>
void quietly(W* widget, F&& set)
{
    const QSignalBlocker blocker(widget);
    std::forward<F>(set)(*widget);
}

// The last line of defence around a command run from a Qt slot: the model's handlers catch
// their own errors, but nothing may unwind through Qt's event dispatch.
void reportEscapedError(const char* where, const std::exception_ptr& error) noexcept;

template <typename F>
void guarded(const char* where, F&& command) noexcept
{
    try {
        std::forward<F>(command)();
    } catch (...) {
        reportEscapedError(where, std::current_exception());
    }
}

} // namespace volmara

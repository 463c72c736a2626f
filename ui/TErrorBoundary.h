#pragma once

#include <functional>

class IDialogs;
class QWidget;

// The application's title: the caption of the default error box.
inline constexpr char ApplicationTitle[] = "tulvo";

// The one place where errors are caught: where a handler returns to the event loop. Every
// menu command, button, resize, show and mouse handler runs through Run. An error that the
// handler raises ends the handler where it arose (what it did before stays done) and is shown
// in the default error box: error icon, one OK button, the application's title as caption and
// the message, with a full stop appended when its last character sorts after ".", and the path
// of the file it concerns, when the error names one, as the box's informative text. The program
// then goes on waiting for the next command; no error reaches Qt's event loop.
class TErrorBoundary {
public:
    explicit TErrorBoundary(IDialogs& dialogs);

    // Runs `handler`; `owner` owns the error box if one is shown.
    void Run(QWidget* owner, const std::function<void()>& handler) const;

    // A callable that runs `handler` through Run, for connecting to a signal or a chart event.
    template <typename F> auto Guard(QWidget* owner, F handler) const
    {
        return [this, owner, handler](auto&&...) { Run(owner, handler); };
    }

    IDialogs& Dialogs() const { return dialogs_; }

private:
    IDialogs& dialogs_;
};

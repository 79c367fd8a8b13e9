#pragma once
// Saving the form kvform runs (Ctrl+S, --save). A save that fails leaves the file as it was and
// the form as the user left it, and says why, so that the user can save again.

#include <QString>
#include <functional>

namespace host {
class Form;
}

namespace kvform {

// Writes the form to `path`. On failure prints "kvform: cannot save: ..." on standard error, also
// shows it in a message box when `tellUser`, and answers false.
bool saveForm(const host::Form& form, const QString& path, bool tellUser);

// Saves as the window closes: when that fails, the user chooses between closing without saving
// and going back to the form. True when the form may close; `saved` tells whether it was saved.
bool saveBeforeClosing(const host::Form& form, const QString& path, bool* saved);

// Ctrl+S on the form's window saves to `target` and prints "saved PATH" through `out`. Without a
// target it says how to get one.
void installSaveShortcut(host::Form& form, const QString& target,
                         std::function<void(const QString& line)> out);

} // namespace kvform

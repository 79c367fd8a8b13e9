#pragma once
// The runtime's SendKeys: keys described by a string are queued and typed, one key at a time, into
// whatever has the focus when each is processed, through its KeyDown/KeyPress/KeyUp.
//
// Syntax: plain characters; ~ is Enter; + Shift, ^ Ctrl, % Alt apply to the next key or to a
// group in parentheses (+(abc)); braces name a key, optionally with a repeat count ({LEFT 3}):
// {BACKSPACE} {BS} {BKSP} {DELETE} {DEL} {DOWN} {END} {ENTER} {ESC} {HOME} {INSERT} {INS} {LEFT}
// {PGDN} {PGUP} {RIGHT} {TAB} {UP} {F1}..{F16}; {+} {^} {%} {~} {(} {)} {{} {}} type themselves.

#include <QKeyEvent>
#include <QString>
#include <vector>

namespace host {

// One key of a SendKeys string.
struct SentKey {
    int key = 0; // Qt::Key
    Qt::KeyboardModifiers modifiers;
    QString text; // what the key types ("" for keys that type nothing)
    friend bool operator==(const SentKey&, const SentKey&) = default;
};

// The keys a string describes; error 5 for a malformed string (unknown key name, unbalanced
// braces or parentheses, a modifier with nothing to apply to) and for more than 32767 keys.
std::vector<SentKey> parseSendKeys(const QString& keys);

// Queues the keys; with wait, processes events until all of them were typed. Error 5 for a
// malformed string, raised before any key is queued.
void SendKeys(const QString& keys, bool wait = false);

// Keys queued and not yet typed.
int pendingSendKeys();

} // namespace host

#!/usr/bin/env bash
# Real keyboard and pointer input: kvform under Xvfb with a light window manager, driven by
# xdotool. The form's state is read back from the file kvform saves (Ctrl+S), checked by kvform
# itself offscreen. Exit 77 (skipped) when the X tools are missing.
set -uo pipefail
kvform="$1"
here="$(cd "$(dirname "$0")" && pwd)"
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

. "$here/../xsession.sh"
start_xvfb
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    pids+=($!)
fi
command -v setxkbmap >/dev/null && setxkbmap -layout br 2>/dev/null

cp "$here/form.kvform" "$work/form.kvform"
(cd "$work" && exec timeout 100 "$kvform" form.kvform --events >"$work/events.log" 2>&1) &
pids+=($!)
x() { timeout 10 xdotool "$@"; }
window="$(x search --sync --name '^Entrada Real$' | head -n1)"
[ -n "$window" ] || fail "the form never appeared"
x windowactivate --sync "$window" 2>/dev/null || x windowfocus --sync "$window"

# The form's client area sits below kvform's menu bar: the window is taller than the form by
# the bar's height.
formh=$(($(grep -o '"height": *[0-9]*' "$here/form.kvform" | head -n1 | grep -o '[0-9]*$') / 15))
winh=$(x getwindowgeometry "$window" | awk '/Geometry/ { split($2, a, "x"); print a[2] }')
menu=$((winh - formh))
((menu >= 0 && menu < 60)) || fail "unexpected window height $winh for a form $formh high"

# Fields in pixels (15 twips each): left 10, tops 10, 50, 90, 130, 170; 200 wide, 21 high.
at() { x mousemove --window "$window" "$1" $(($2 + menu)) click 1; sleep 0.2; }
field() { at 60 $(( $1 + 10 )); x key ctrl+a; }
type_() { x type --delay 40 "$1"; }
enter() { x key Return; sleep 0.3; }

# Character: letters upper-cased, a dead key composing Ã on the ABNT2 layout.
field 10
type_ "jo"
x key --delay 100 dead_tilde a
x key o
enter
# Money: letters refused, formatted on Enter.
field 50
type_ "12a34.5"
enter
# Numeric: only digits and operators.
field 90
type_ "7x8"
enter

# The date road by keyboard: F4 opens the calendar, "9" and Enter pick the 9th.
field 130
x key F4
cal="$(x search --sync --onlyvisible --name '^Caled' | head -n1)"
[ -n "$cal" ] || fail "F4 did not open the calendar"
sleep 0.3
type_ "9"
x key Return
waitfor 5 sh -c "! xdotool search --onlyvisible --name '^Caled'" || fail "Enter left the calendar open"

# The invalid-date message, dismissed with Enter, then retyping over the selected text.
field 170
type_ "153"
x key Return
msg="$(x search --sync --onlyvisible --name 'Aten' | head -n1)"
[ -n "$msg" ] || fail "no invalid-date message"
sleep 0.3
x key Return
waitfor 5 sh -c "! xdotool search --onlyvisible --name 'Aten'" || fail "the message stayed"
sleep 0.5
type_ "1503"
enter

# The date road by mouse: a double-click on "..." picks nothing; a click opens, a double-click
# on a day cell picks it. The field's button sits at its right end (pixels 183..202).
x mousemove --window "$window" 200 $((140 + menu)) click --repeat 2 --delay 60 1
cal="$(x search --sync --onlyvisible --name '^Caled' | head -n1)"
[ -n "$cal" ] || fail "the button did not open the calendar"
sleep 0.5
x search --onlyvisible --name '^Caled' >/dev/null || fail "a double-click on the button picked a day"
# Day 15 of this month: cells are 27 px apart from (4, 74), Sunday first.
first="$(date -d "$(date +%Y-%m-01)" +%w)"
cell=$((first + 14))
cx=$((4 + (cell % 7) * 27 + 13)) cy=$((74 + (cell / 7) * 24 + 11))
x mousemove --window "$cal" "$cx" "$cy" click --repeat 2 --delay 80 1
waitfor 5 sh -c "! xdotool search --onlyvisible --name '^Caled'" || fail "double-click on a day did not pick"
sleep 0.3

# A middle-click paste of the primary selection into Money: only the digit gets in.
if command -v xsel >/dev/null; then
    printf 'xyz9!' | timeout 20 xsel --nodetach -p -i &
    pids+=($!)
    sleep 0.3
    field 50
    x key BackSpace
    x mousemove --window "$window" 60 $((60 + menu)) click 2
    sleep 0.3
    enter
    money="9,00"
else
    money="1.234,50"
fi

# The About dialog: F1 opens it over the form, F alone leaves it open, Alt+F closes it.
x windowactivate --sync "$window" 2>/dev/null
x key F1
active() { xdotool getactivewindow 2>/dev/null; }
waitfor 5 sh -c "[ \"\$(xdotool getactivewindow)\" != $window ]" || fail "F1 did not open About"
x key f
sleep 0.3
[ "$(active)" != "$window" ] || fail "F alone closed About"
x key alt+f
waitfor 5 sh -c "[ \"\$(xdotool getactivewindow)\" = $window ]" || fail "Alt+F did not close About"
# And through the menu: "Ajuda", then its first item, "Sobre o Kv_CTRL...".
x mousemove --window "$window" 20 $((menu / 2)) click 1
sleep 0.4
x key Down Return
waitfor 5 sh -c "[ \"\$(xdotool getactivewindow)\" != $window ]" || fail "the menu did not open About"
sleep 0.3 # the window system has it active; Qt gives its button the focus just after
x key alt+f
waitfor 5 sh -c "[ \"\$(xdotool getactivewindow)\" = $window ]" || fail "Alt+F did not close About"

x windowactivate --sync "$window" 2>/dev/null
x key ctrl+s
waitfor 10 grep -q '^saved ' "$work/events.log" || fail "Ctrl+S did not save"

month="$(date +%m/%Y)"
cat >"$work/check.kvs" <<CHECK
expect txtNome.Text "JOÃO"
expect txtValor.Text "$money"
expect txtNumero.Text "78"
expect txtData.Text "15/$month"
expect txtOutraData.Text "15/03/$(date +%Y)"
CHECK
# Before the double-click on a day, F4 picked the 9th; the button's double-click must not have
# replaced it with another day.
grep -q 'txtData.KeyPress KeyAscii=' "$work/events.log" || fail "no KeyPress events printed"
(cd "$work" && QT_QPA_PLATFORM=offscreen timeout 30 "$kvform" form.kvform --script check.kvs) ||
    fail "the saved form is not what was typed"
echo "real input: all passed"

#!/usr/bin/env python3
# The demo form as a screen reader sees it: finds kvform on the desktop accessibility bus, prints
# its tree, checks that each control is there with its role, name and state, and presses
# "Salvar" through its accessibility action. Exits 1 naming what is missing.
import sys
import time

import pyatspi

# (role, name, states that must be set, states that must not)
EXPECTED = [
    (pyatspi.ROLE_TEXT, "Nome", [], []),
    (pyatspi.ROLE_TEXT, "Código", [], []),
    (pyatspi.ROLE_PUSH_BUTTON, "Salvar", [], []),
    (pyatspi.ROLE_PUSH_BUTTON, "Imprimir", [], []),
    (pyatspi.ROLE_CHECK_BOX, "Cliente ativo", [], [pyatspi.STATE_CHECKED]),
    (pyatspi.ROLE_RADIO_BUTTON, "Pessoa física", [pyatspi.STATE_CHECKED], []),
    (pyatspi.ROLE_RADIO_BUTTON, "Pessoa jurídica", [], [pyatspi.STATE_CHECKED]),
    (pyatspi.ROLE_PROGRESS_BAR, "Cadastro", [], []),
    (pyatspi.ROLE_LABEL, "Cadastro de Cliente", [], []),
    (pyatspi.ROLE_PANEL, "Tipo", [], []),
]


def find_app(name, seconds):
    desktop = pyatspi.Registry.getDesktop(0)
    end = time.time() + seconds
    while time.time() < end:
        for app in desktop:
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.2)
    return None


def walk(node, depth, out):
    try:
        states = node.getState()
        out.append((node, depth))
        for child in node:
            if child is not None:
                walk(child, depth + 1, out)
    except Exception as e:  # a node gone while walking
        print("  " * depth + "(gone: %s)" % e)
    return out


def check_calendar(app, nodes):
    """Opens the calendar from the date field's button and reads its days as a table."""
    buttons = [n for n, _ in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "..."
               and n.getState().contains(pyatspi.STATE_SHOWING)]
    if not buttons:
        return ["no calendar button showing"]
    buttons[0].queryAction().doAction(0)
    end = time.time() + 10
    tables = []
    while not tables and time.time() < end:
        time.sleep(0.2)
        tables = [n for n, _ in walk(app, 0, []) if n.getRole() == pyatspi.ROLE_TABLE]
    if not tables:
        return ["the calendar's days are not read as a table"]
    table = tables[0].queryTable()
    cells = [table.getAccessibleAt(r, c) for r in range(table.nRows)
             for c in range(table.nColumns)]
    days = [cell.name for cell in cells]
    selected = [cell.name for cell in cells if cell.getState().contains(pyatspi.STATE_SELECTED)]
    print("calendar %r: %d x %d, columns %s, days %s, selected %s" % (
        tables[0].name, table.nRows, table.nColumns,
        [table.getColumnDescription(c) for c in range(table.nColumns)],
        " ".join(d or "." for d in days), selected))
    failures = []
    if (table.nRows, table.nColumns) != (6, 7):
        failures.append("the calendar is %d x %d" % (table.nRows, table.nColumns))
    if table.getColumnDescription(0) != "Dom":
        failures.append("the first column is %r" % table.getColumnDescription(0))
    if "1" not in days or "28" not in days:
        failures.append("the month's days are missing: %s" % days)
    return failures


def main():
    app = find_app("kvform", 20)
    if app is None:
        print("FAIL: kvform never appeared on the accessibility bus")
        return 1
    nodes = walk(app, 0, [])
    for node, depth in nodes:
        states = [pyatspi.stateToString(s) for s in node.getState().getStates()
                  if s in (pyatspi.STATE_CHECKED, pyatspi.STATE_FOCUSED)]
        print("%s%s %r %s" % ("  " * depth, node.getRoleName(), node.name, " ".join(states)))
    failures = []
    for role, name, have, lack in EXPECTED:
        found = [n for n, _ in nodes if n.getRole() == role and n.name == name]
        if not found:
            failures.append("no %s named %r" % (pyatspi.Role(role), name))
            continue
        state = found[0].getState()
        failures += ["%r is not %s" % (name, pyatspi.stateToString(s))
                     for s in have if not state.contains(s)]
        failures += ["%r is %s" % (name, pyatspi.stateToString(s))
                     for s in lack if state.contains(s)]
    required = [n for n, _ in nodes if n.getRole() == pyatspi.ROLE_TEXT and n.name == "Nome"]
    if required and "obrigat" not in required[0].description:
        failures.append("Nome is not described as required: %r" % required[0].description)
    days = [n for n, _ in nodes if n.getRole() == pyatspi.ROLE_TABLE]
    if days:
        failures.append("a table is on the form before the calendar opens")

    salvar = [n for n, _ in nodes
              if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Salvar"]
    if salvar:
        action = salvar[0].queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        print("Salvar actions: %s, key %r" % (names, action.getKeyBinding(0)))
        if "Press" not in names:
            failures.append("Salvar has no Press action: %s" % names)
        else:
            action.doAction(names.index("Press"))
    failures += check_calendar(app, nodes)
    for f in failures:
        print("FAIL: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

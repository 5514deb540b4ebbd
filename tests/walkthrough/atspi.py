#!/usr/bin/python3
"""Reads the running game as a screen reader does, over the desktop's
accessibility bus, and checks what a player who cannot see the screen hears.

    atspi.py main     the counters with their captions, the playfield
    atspi.py preview  the preview window by its caption
    atspi.py entry    the name entry's field: named by its prompt, empty
    atspi.py hall N   the hall of fame: its list, its podium, N in first place
"""
import re
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def fail(message):
    print("atspi: " + message, file=sys.stderr)
    sys.exit(1)


def game():
    desktop = Atspi.get_desktop(0)
    for _ in range(100):
        for index in range(desktop.get_child_count()):
            application = desktop.get_child_at_index(index)
            if application is not None and application.get_name() == "MVKubrin":
                return application
        time.sleep(0.1)
    fail("the game is not on the accessibility bus")


def nodes(accessible):
    yield accessible
    for index in range(accessible.get_child_count()):
        child = accessible.get_child_at_index(index)
        if child is not None:
            yield from nodes(child)


def tree(accessible, depth=0):
    lines = ["  " * depth + "[%s] %r" % (accessible.get_role_name(), accessible.get_name())]
    for index in range(accessible.get_child_count()):
        child = accessible.get_child_at_index(index)
        if child is not None:
            lines += tree(child, depth + 1)
    return lines


def find(root, role, name_pattern):
    roles = role if isinstance(role, tuple) else (role,)
    for node in nodes(root):
        if node.get_role() in roles and re.fullmatch(name_pattern, node.get_name() or ""):
            return node
    fail("no %s named like %r in\n%s" % (
        " or ".join(Atspi.role_get_name(role) for role in roles), name_pattern, "\n".join(tree(root))))


def check_main(root):
    for caption in ("Teile", "Level", "Punkte", "Zeilen"):
        counter = find(root, Atspi.Role.LABEL, r"%s: \d+" % caption)
        labels = [relation for relation in counter.get_relation_set()
                  if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY]
        if not labels or labels[0].get_target(0).get_name() != caption + ":":
            fail("the counter %r is not labelled by its caption" % counter.get_name())
    playfield = find(root, Atspi.Role.IMAGE, "Spielfeld")
    if not re.search(r"10 Spalten, 21 Zeilen", playfield.get_description()):
        fail("the playfield's description reads %r" % playfield.get_description())


def check_entry(root):
    field = find(root, Atspi.Role.TEXT, "Bitte geben Sie Ihren Namen ein:")
    text = field.get_text_iface()
    typed = text.get_text(0, text.get_character_count())
    if typed:
        fail("the name field starts with %r" % typed)


def check_hall(root):
    find(root, (Atspi.Role.TREE_TABLE, Atspi.Role.TABLE, Atspi.Role.TREE), "Bestenliste")
    find(root, Atspi.Role.IMAGE, "Siegertreppchen")
    find(root, Atspi.Role.LABEL, re.escape("1. Platz: " + sys.argv[2]))


root = game()
{"main": check_main,
 "preview": lambda root: find(root, Atspi.Role.FRAME, "Vorschau"),
 "entry": check_entry,
 "hall": check_hall}[sys.argv[1]](root)

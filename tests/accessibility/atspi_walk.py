#!/usr/bin/python3
"""Reads the running program through the desktop's accessibility bus, as a
screen reader does. Opens each window from the keyboard alone (xdotool key
presses), walks its tree and lists every object a pupil can reach or press
whose name is missing or not French; closes it again and checks that the
keyboard is back where it was. Prints what it read; exits 1 on a fault, 2
when the program never shows on the bus (then nothing was checked).

Run by atspi-check.sh, which starts the display and the session bus.
Arguments: the program, and the file its output goes to. The program is
started here, once the reader listens: Qt asks the bus which events anybody
listens to when it starts, and a listener met later might go unheard."""
import os
import re
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Words of Qt's own untranslated texts and of English names a developer
# might leave; none of them is a French word.
ENGLISH = {
    "the", "and", "of", "button", "cancel", "open", "save", "close", "print", "printer", "help",
    "folder", "name", "look", "back", "forward", "new", "list", "detail", "view", "search", "find",
    "next", "previous", "up", "down", "line", "left", "right", "bottom", "clear", "apply", "yes",
    "copy", "paste", "undo", "redo", "delete", "contents", "settings", "color", "colour", "scroll",
    "drive", "directory", "size", "select", "all", "text", "edit", "value", "exercise", "calculator",
    "graph", "tab", "count", "properties", "window", "minimize", "maximize", "restore", "files",
    "dialog", "increase", "decrease", "step", "top", "here", "zoom", "home", "reset", "off", "side",
    "sided", "binding", "printing", "specify",
}
ACTED_ON = {
    Atspi.Role.PUSH_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.RADIO_BUTTON, Atspi.Role.COMBO_BOX,
    Atspi.Role.PAGE_TAB, Atspi.Role.SPIN_BUTTON, Atspi.Role.TEXT, Atspi.Role.ENTRY,
    Atspi.Role.MENU_ITEM, Atspi.Role.SCROLL_BAR, Atspi.Role.TABLE, Atspi.Role.LIST,
    Atspi.Role.TREE, Atspi.Role.TREE_TABLE, Atspi.Role.SLIDER, Atspi.Role.TOGGLE_BUTTON,
}
CONTENT = {
    Atspi.Role.TABLE_CELL, Atspi.Role.LIST_ITEM, Atspi.Role.TREE_ITEM, Atspi.Role.TABLE_ROW,
    Atspi.Role.COLUMN_HEADER, Atspi.Role.ROW_HEADER, Atspi.Role.TABLE_COLUMN_HEADER,
    Atspi.Role.TABLE_ROW_HEADER,
}
MENU = "menu"  # a pop-up menu, found through the item that takes the keyboard

# Each window as a pupil opens it from the main window: the keys pressed, the
# window's name on the bus, the keys that close it, and how many interactive
# objects its walk must meet at least (a walk cut short would pass).
WINDOWS = [
    ("Menu Exercices", ["alt+x"], MENU, ["Escape"], 6),
    ("Exercices", ["alt+x", "Down", "Return"], "Équilibre dynamique", ["Escape"], 5),
    ("Enregistrer", ["alt+e"], "Enregistrer les paramètres.", ["Escape"], 5),
    ("Ouvrir", ["alt+o"], "Ouvrir une configuration", ["Escape"], 5),
    ("Menu Copier", ["alt+p"], MENU, ["Escape"], 3),
    ("Imprimer", ["alt+i"], "Imprimer", ["Escape"], 7),
    ("Choix de l'imprimante", ["alt+i", "alt+i"], "Choisir l'imprimante", ["Escape", "Escape"], 5),
    ("Calculatrice", ["alt+c"], "Machine à calculer", ["Escape"], 45),
    ("Agrandissement", ["alt+g"], "Agrandissement du récipient", ["Escape"], 0),
    ("Aide", ["alt+a"], "Équilibre dynamique - Aide", ["Escape"], 6),
    ("Créer un exercice", ["alt+x", "Up", "Return"], "Créer ou modifier un exercice", ["Escape"], 8),
    # A message box: too many particles typed in the first count box, Entrée.
    ("Message", ["ctrl+a", "9", "9", "9", "9", "9", "9", "Return"], "Dépassement de capacité", ["Return"], 1),
]
MAIN = "Équilibre dynamique"
FIRST_FOCUS = "Nombre initial de particules A"


def fault(name):
    text = name.strip()
    if not text:
        return "sans nom"
    if not re.search(r"[^\W\d_]", text) and not text.isdigit():
        return "un symbole, pas un nom"
    for word in re.split(r"[\W\d_]+", text.lower()):
        if word in ENGLISH:
            return "en anglais (%s)" % word
    return None


class Reader:
    """What a screen reader hears: the object that takes the keyboard."""

    def __init__(self):
        self.heard = []
        self.listener = Atspi.EventListener.new(self._focused)
        self.listener.register("object:state-changed:focused")

    def _focused(self, event):
        if not event.detail1:
            return
        try:
            source = event.source
            self.heard.append(source)
        except Exception:  # gone already
            pass

    def pump(self, seconds):
        end = time.time() + seconds
        context = GLib.MainContext.default()
        while True:
            while context.pending():
                context.iteration(False)
            if time.time() >= end:
                return
            time.sleep(0.05)

    def last(self):
        return self.heard[-1] if self.heard else None


def said(node):
    try:
        text = "%s «%s»" % (node.get_role_name(), node.get_name() or "")
        description = node.get_description() or ""
        return text + (" — " + description if description else "")
    except Exception:
        return "(objet disparu)"


def walk(node, depth, faults, out, where):
    """Returns how many interactive objects the walk met."""
    try:
        role = node.get_role()
        name = node.get_name() or ""
        states = node.get_state_set()
    except Exception:  # an object gone while walking
        return 0
    focusable = states.contains(Atspi.StateType.FOCUSABLE)
    # A scroll bar is read and moved too, the keyboard's or not.
    interactive = role not in CONTENT and (focusable or role in ACTED_ON)
    out.append("  " * depth + said(node))
    met = 1 if interactive else 0
    if interactive and role != Atspi.Role.COMBO_BOX:
        why = fault(name)
        if why:
            faults.append("%s: %s «%s»: %s" % (where, node.get_role_name(), name, why))
    try:
        count = node.get_child_count()
    except Exception:
        count = 0
    for i in range(min(count, 2000)):
        try:
            child = node.get_child_at_index(i)
        except Exception:
            continue
        if child is not None and depth < 40:
            met += walk(child, depth + 1, faults, out, where)
    return met


def program(wait):
    deadline = time.time() + wait
    while time.time() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and (app.get_name() or "").startswith("molvane"):
                if window(app, MAIN) is not None:
                    return app
        time.sleep(0.25)
    return None


def windows(app):
    found = []
    try:
        for i in range(app.get_child_count()):
            child = app.get_child_at_index(i)
            if child is not None:
                found.append(child)
    except Exception:
        pass
    return found


def window(app, title, skip=()):
    for child in windows(app):
        try:
            if (child.get_name() or "") == title and child not in skip:
                return child
        except Exception:
            continue
    return None


def focused(app):
    """The object that has the keyboard, in the active window. A view's
    current item says it is focused too: the control itself comes first."""
    found = []

    def search(node, depth):
        try:
            if node.get_state_set().contains(Atspi.StateType.FOCUSED):
                found.append(node)
            count = min(node.get_child_count(), 2000)
        except Exception:
            return
        for i in range(count if depth < 40 else 0):
            try:
                search(node.get_child_at_index(i), depth + 1)
            except Exception:
                pass

    for child in windows(app):
        try:
            if child.get_state_set().contains(Atspi.StateType.ACTIVE):
                search(child, 0)
                break
        except Exception:
            continue
    for node in found:
        try:
            if node.get_role() not in CONTENT:
                return node
        except Exception:
            continue
    return found[0] if found else None


def press(keys):
    for key in keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True, timeout=10)
        time.sleep(0.15)


def settle(reader, seconds=0.4):
    reader.pump(seconds)


def wait_for(reader, test, seconds):
    end = time.time() + seconds
    while time.time() < end:
        found = test()
        if found is not None:
            return found
        reader.pump(0.1)
    return None


def popup(reader):
    item = reader.last()
    try:
        if item is not None and item.get_role() == Atspi.Role.MENU_ITEM:
            return item.get_parent()
    except Exception:
        pass
    return None


def check_window(app, reader, step, faults, out):
    what, keys, title, closing, least = step
    main = window(app, MAIN)
    held = focused(app)
    before = said(held) if held is not None else None
    reader.heard.clear()
    press(keys)
    if title == MENU:
        shown = wait_for(reader, lambda: popup(reader), 10)
    else:
        # The exercise window takes the main window's title: another object.
        shown = wait_for(reader, lambda: window(app, title, skip=(main,)), 15)
    if shown is None:
        faults.append("%s: la fenêtre « %s » ne s'ouvre pas au clavier (%s)" % (what, title, " ".join(keys)))
        press(["Escape"])
        return
    settle(reader, 0.6)
    out.append("== %s (%s)" % (what, " ".join(keys)))
    if reader.last() is not None:
        out.append("   le lecteur dit : " + said(reader.last()))
    met = walk(shown, 1, faults, out, what)
    ask_texts(app, shown, what, faults, out)
    if met < least:
        faults.append("%s: %d objets interactifs lus, %d attendus au moins" % (what, met, least))
    reader.heard.clear()
    press(closing)
    gone = wait_for(reader, lambda: True if title == MENU or window(app, title, skip=(main,)) is None else None, 10)
    if gone is None:
        faults.append("%s: ne se ferme pas avec %s" % (what, " ".join(closing)))
        return
    # The keyboard goes back once the window has gone: asked, not heard, since
    # a menu leaves it where it was without a word.
    back = wait_for(reader, lambda: focused(app), 5)
    after = said(back) if back is not None else None
    out.append("   refermée, le lecteur dit : %s" % after)
    if before is not None and after != before:
        faults.append("%s: après fermeture le clavier est sur %s, pas sur %s" % (what, after, before))


# What a screen reader asks of a text: its pieces at every offset.
BOUNDARIES = [
    Atspi.TextBoundaryType.CHAR, Atspi.TextBoundaryType.WORD_START, Atspi.TextBoundaryType.WORD_END,
    Atspi.TextBoundaryType.SENTENCE_START, Atspi.TextBoundaryType.SENTENCE_END,
    Atspi.TextBoundaryType.LINE_START, Atspi.TextBoundaryType.LINE_END,
]
ASKS = [Atspi.Text.get_text_before_offset, Atspi.Text.get_text_at_offset, Atspi.Text.get_text_after_offset]


def texts(node, found, depth=0):
    """Every object of the tree that has a text."""
    try:
        if node.get_text_iface() is not None:
            found.append(node)
        count = min(node.get_child_count(), 2000)
    except Exception:
        return
    for i in range(count if depth < 40 else 0):
        try:
            texts(node.get_child_at_index(i), found, depth + 1)
        except Exception:
            pass


def ask_texts(app, root, where, faults, out):
    """Asks every piece of text of every text object under root, at every
    offset of a short text and at its two ends and some offsets between of a
    long one. A question left unanswered fails (the bus's own time limit), and
    the program must still answer afterwards."""
    found = []
    texts(root, found)
    asked = 0
    for node in found:
        try:
            text = node.get_text_iface()
            count = text.get_character_count()
            name = node.get_name() or node.get_role_name()
        except Exception:
            continue
        offsets = range(count + 1) if count <= 80 else sorted(
            set([0, 1, count // 2, count - 1, count] + list(range(0, count, max(1, count // 25)))))
        for offset in offsets:
            for boundary in BOUNDARIES:
                for ask in ASKS:
                    try:
                        ask(text, offset, boundary)
                        asked += 1
                    except Exception as error:
                        faults.append("%s: «%s» ne répond pas au texte en %d (%s): %s"
                                      % (where, name, offset, boundary.value_nick, error))
                        return asked
        try:
            if count > 0:
                run = text.get_attribute_run(count - 1, False)
                if node.get_role() in (Atspi.Role.ENTRY, Atspi.Role.TEXT) and (run.start_offset, run.end_offset) != (0, count) \
                        and count <= 80:
                    faults.append("%s: «%s»: attributs sur %d..%d, pas sur tout le texte (0..%d)"
                                  % (where, name, run.start_offset, run.end_offset, count))
        except Exception as error:
            faults.append("%s: «%s» ne répond pas aux attributs : %s" % (where, name, error))
    out.append("   %s : %d questions sur %d textes" % (where, asked, len(found)))
    try:
        app.get_name()
    except Exception as error:
        faults.append("%s: le programme ne répond plus après les questions sur le texte : %s" % (where, error))
    return asked


# The bars of the main window, read as the values shown at start.
VALUES = {
    "Réglage du pourcentage de chocs efficaces, sens 1": (Atspi.Role.SPIN_BUTTON, "50 %", 50),
    "Réglage du pourcentage de chocs efficaces, sens 2": (Atspi.Role.SPIN_BUTTON, "50 %", 50),
    "Durée de l'enregistrement": (Atspi.Role.SPIN_BUTTON, "20 s", 20),
    "Nombre de lignes du tableau": (Atspi.Role.SPIN_BUTTON, "51 lignes", 51),
    "Température du système": (Atspi.Role.SLIDER, None, 500),
}


def check_values(root, faults, out):
    seen = {}

    def search(node, depth):
        try:
            role = node.get_role()
            name = node.get_name() or ""
            count = min(node.get_child_count(), 2000)
        except Exception:
            return
        if role == Atspi.Role.SCROLL_BAR and node.get_state_set().contains(Atspi.StateType.FOCUSABLE):
            faults.append("Fenêtre principale: «%s» se lit comme une barre de défilement" % name)
        if name in VALUES:
            seen[name] = node
        for i in range(count if depth < 40 else 0):
            try:
                search(node.get_child_at_index(i), depth + 1)
            except Exception:
                pass

    search(root, 0)
    for name, (role, shown, value) in VALUES.items():
        node = seen.get(name)
        if node is None:
            faults.append("Fenêtre principale: «%s» est introuvable" % name)
            continue
        try:
            if node.get_role() != role:
                faults.append("Fenêtre principale: «%s» se lit %s" % (name, node.get_role_name()))
            current = node.get_value_iface().get_current_value()
            if current != value:
                faults.append("Fenêtre principale: «%s» vaut %s, l'écran montre %s" % (name, current, value))
            if shown is not None:
                text = node.get_text_iface()
                read = text.get_text(0, text.get_character_count())
                if read != shown:
                    faults.append("Fenêtre principale: «%s» se lit «%s», l'écran montre «%s»" % (name, read, shown))
            out.append("   %s : %s %s" % (name, node.get_role_name(), shown or current))
        except Exception as error:
            faults.append("Fenêtre principale: «%s» ne dit pas sa valeur : %s" % (name, error))


def check_keyboard_reaches(app, reader, faults, out):
    """From the first count box, Tab reaches the tab strip, whose arrows say
    the tab, and then the graph."""
    reader.heard.clear()
    press(["Tab"] * 5)
    settle(reader, 0.6)
    tab = reader.last()
    if tab is None or tab.get_role() != Atspi.Role.PAGE_TAB or (tab.get_name() or "") != "Paramètres":
        faults.append("Fenêtre principale: Tab ne mène pas à l'onglet « Paramètres » (%s)"
                      % (said(tab) if tab is not None else "rien"))
    out.append("   Tab ×5, le lecteur dit : %s" % (said(tab) if tab is not None else "rien"))
    reader.heard.clear()
    press(["Right"])
    settle(reader, 0.6)
    tab = reader.last()
    if tab is None or (tab.get_name() or "") != "Affichage":
        faults.append("Fenêtre principale: → sur les onglets ne dit pas « Affichage » (%s)"
                      % (said(tab) if tab is not None else "rien"))
    out.append("   →, le lecteur dit : %s" % (said(tab) if tab is not None else "rien"))
    press(["Left"])
    # On the parameters' panel: five controls, the magnifier, the restart, the graph.
    reader.heard.clear()
    press(["Tab"] * 8)
    settle(reader, 0.6)
    graph = reader.last()
    if graph is None or not (graph.get_name() or "").startswith("Graphe"):
        faults.append("Fenêtre principale: le graphe ne prend pas le clavier (%s)"
                      % (said(graph) if graph is not None else "rien"))
    out.append("   Tab ×8, le lecteur dit : %s" % (said(graph) if graph is not None else "rien"))


def main():
    Atspi.set_timeout(5000, 15000)
    reader = Reader()
    reader.pump(0.3)
    with open(sys.argv[2], "wb") as log:
        started = subprocess.Popen([sys.argv[1]], stdout=log, stderr=subprocess.STDOUT,
                                   cwd=os.environ.get("HOME") or None)
    try:
        return read(reader, program(30))
    finally:
        started.terminate()
        try:
            started.wait(5)
        except subprocess.TimeoutExpired:
            started.kill()


def read(reader, app):
    if app is None:
        print("ÉCHEC : le programme n'apparaît pas sur le bus d'accessibilité.")
        return 2
    faults, out = [], []
    # The keyboard starts in the first count box.
    first = wait_for(reader, lambda: focused(app), 10)
    if first is None or (first.get_name() or "") != FIRST_FOCUS:
        faults.append("Fenêtre principale: au départ le clavier est sur %s, pas sur «%s»"
                      % (said(first) if first is not None else "rien", FIRST_FOCUS))
    out.append("== Fenêtre principale, le lecteur dit : " + said(first) if first else "== Fenêtre principale")
    met = walk(window(app, MAIN), 1, faults, out, "Fenêtre principale")
    if met < 40:
        faults.append("Fenêtre principale: %d objets interactifs lus, 40 attendus au moins" % met)
    check_values(window(app, MAIN), faults, out)
    ask_texts(app, window(app, MAIN), "Fenêtre principale", faults, out)
    for step in WINDOWS:
        check_window(app, reader, step, faults, out)
    check_keyboard_reaches(app, reader, faults, out)
    print("\n".join(out))
    print("\n%d objets lus, %d défauts" % (len(out), len(faults)))
    for f in faults:
        print("DÉFAUT: " + f)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

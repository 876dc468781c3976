#!/usr/bin/python3
"""The getting-started lesson ("Prise en main") done from the keyboard alone,
read as a screen reader reads it: at each step the keys pressed, then what
the object that has the keyboard says (its role, name, description, and its
value, text or table). Prints the steps as a Markdown list; exits 1 when a
step cannot be done from the keyboard.

Run by atspi-check.sh with MOLVANE_ATSPI_SCRIPT=atspi_lesson.py."""
import os
import subprocess
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atspi_walk as bus  # noqa: E402


def heard(node):
    """What a reader says of node: role, name, description, then its content."""
    if node is None:
        return "(rien)"
    text = bus.said(node)
    try:
        if node.get_value_iface() is not None:
            text += " ; valeur %g" % Atspi.Value.get_current_value(node)
    except Exception:
        pass
    try:
        role = node.get_role()
        if role in (Atspi.Role.TABLE, Atspi.Role.TREE_TABLE):
            rows, columns = Atspi.Table.get_n_rows(node), Atspi.Table.get_n_columns(node)
            headers = []
            for c in range(columns):
                header = Atspi.Table.get_column_header(node, c)
                headers.append(header.get_name() if header is not None else "?")
            cells = [(Atspi.Table.get_accessible_at(node, 1, c).get_name() or "")
                     for c in range(columns)] if rows > 1 else []
            text += " ; %d lignes × %d colonnes ; en-têtes : %s ; ligne 2 : %s" % (
                rows, columns, " | ".join(headers), " | ".join(cells))
        elif role in (Atspi.Role.TEXT, Atspi.Role.ENTRY, Atspi.Role.PARAGRAPH):
            count = Atspi.Text.get_character_count(node)
            content = Atspi.Text.get_text(node, 0, min(count, 160)).replace("\n", " / ")
            text += " ; texte : « %s »" % content.strip()
    except Exception:
        pass
    return text


class Lesson:
    def __init__(self, app, reader):
        self.app, self.reader, self.lines, self.faults = app, reader, [], []

    def say(self, line):
        self.lines.append(line)
        print(line, flush=True)
        # A picture of the screen at each step, when asked for.
        shots = os.environ.get("MOLVANE_LESSON_SHOTS")
        if shots:
            subprocess.run(["import", "-window", "root", os.path.join(shots, "%02d.png" % len(self.lines))],
                           timeout=20, check=False)

    def now(self):
        return bus.wait_for(self.reader, lambda: bus.focused(self.app), 4)

    def step(self, what, keys, settle=0.8):
        self.reader.heard.clear()
        if keys:
            bus.press(keys)
        self.reader.pump(settle)
        shown = " ".join("`%s`" % k for k in keys) if keys else "(rien)"
        # A menu is no window of the program's tree: its item is heard as it lights.
        last = self.reader.last()
        try:
            lit = last is not None and last.get_role() == Atspi.Role.MENU_ITEM
        except Exception:
            lit = False
        self.say("- **%s** — touches %s\n  - lu : %s" % (what, shown, heard(last if lit else self.now())))

    def tab_to(self, what, name, back=False, most=45, role=None):
        """Tab (or Shift+Tab) until the keyboard is on the object named name."""
        key = "shift+Tab" if back else "Tab"
        for count in range(most + 1):
            node = bus.focused(self.app)
            try:
                here = node.get_name() if node is not None else ""
            except Exception:
                here = ""
            try:
                fits = role is None or (node is not None and node.get_role() == role)
            except Exception:
                fits = False
            # A name may go on with what the control holds ("Énoncé et réponses : ...").
            if (here == name or here.startswith(name + " : ")) and fits:
                self.say("- **%s** — `%s` × %d\n  - lu : %s" % (what, key, count, heard(node)))
                return True
            bus.press([key])
            self.reader.pump(0.25)
        self.faults.append("%s : « %s » introuvable au clavier" % (what, name))
        self.say("- **%s** — ÉCHEC : « %s » jamais atteint avec %s" % (what, name, key))
        return False

    def read_window(self, what):
        """What a reader says of the window that has come up: its name and its texts."""
        self.reader.pump(0.8)
        shown = None
        for child in bus.windows(self.app):
            try:
                if child.get_state_set().contains(Atspi.StateType.ACTIVE):
                    shown = child
            except Exception:
                continue
        texts = []

        def gather(node, depth):
            try:
                if node.get_role() in (Atspi.Role.LABEL, Atspi.Role.PUSH_BUTTON, Atspi.Role.STATIC) and node.get_name():
                    texts.append("%s «%s»" % (node.get_role_name(), node.get_name()))
                for i in range(min(node.get_child_count(), 50) if depth < 6 else 0):
                    gather(node.get_child_at_index(i), depth + 1)
            except Exception:
                pass

        if shown is not None:
            gather(shown, 0)
        self.say("- **%s**\n  - lu : %s ; %s ; le clavier sur %s" % (
            what, bus.said(shown) if shown is not None else "(aucune fenêtre active)", " ; ".join(texts[:8]),
            heard(self.now())))

    def type(self, what, text, then=("Return",)):
        subprocess.run(["xdotool", "type", "--delay", "60", text], check=True, timeout=20)
        self.step(what + " (tapé « %s »)" % text, list(then))


def run(reader, app):
    if app is None:
        print("ÉCHEC : le programme n'apparaît pas sur le bus d'accessibilité.")
        return 2
    L = Lesson(app, reader)
    L.step("Au départ", [])
    L.step("Ouvrir le menu Exercices", ["alt+x"])
    L.step("Prise en main (premier article)", ["Return"], settle=2.5)
    L.tab_to("Lire l'énoncé dans la zone de texte", "Énoncé et réponses", back=True)
    L.tab_to("a. Le récipient : ce qu'il dit des particules", "Récipient de la réaction")
    L.step("a. Onglet Affichage", ["ctrl+Tab"])
    L.tab_to("a. Couleur des particules A", "Couleur de A")
    L.tab_to("a. Couleur des particules C", "Couleur de C")
    L.step("b. Retour à l'onglet Paramètres", ["ctrl+shift+Tab"])
    L.tab_to("b. Bouton Retour à l'état initial", "Retour à l'état initial")
    L.step("b. Relancer", ["space"], settle=3)
    L.tab_to("b. Relire le récipient (temps, nombres)", "Récipient de la réaction")
    L.step("c. Onglet Suivi du système", ["ctrl+Tab", "ctrl+Tab"])
    L.tab_to("c. Courbe A", "Nombre de particules A")
    L.tab_to("c. Représentation graphique", "Représentation graphique")
    L.step("c. Flèche vers Tableau de valeurs", ["Down"], settle=1.5)
    L.tab_to("c. Le tableau", "Tableau de valeurs", role=Atspi.Role.TABLE)
    L.tab_to("c. Retour au choix de la vue", "Tableau de valeurs", back=True, role=Atspi.Role.RADIO_BUTTON)
    L.step("c. Graphe", ["Up"], settle=1)
    L.step("d. Onglet Paramètres", ["ctrl+Tab"])
    L.tab_to("d. Pourcentage du sens 2", "Pourcentage de chocs efficaces, sens 2 : C + D donne A + B, en pour cent")
    L.step("d. Effacer le pourcentage", ["ctrl+a", "BackSpace"])
    L.type("d. Mettre 0 %", "0")
    L.tab_to("e. Température", "Température du système")
    L.step("e. Réchauffer (flèche droite : vers le rouge)", ["Right", "Right", "Right", "Page_Down"])
    L.step("g. Enregistrer la configuration", ["alt+e"], settle=1.5)
    L.type("g. Nom du fichier", "essai", then=("Return",))
    L.step("g. Après l'enregistrement", [], settle=1)
    L.step("g. Ouvrir une configuration", ["alt+o"], settle=1.5)
    L.type("g. Fichier à ouvrir, sans son extension", "essai", then=("Return",))
    L.read_window("g. Le message qui s'ouvre")
    L.step("g. Refermer le message", ["Return"])
    L.step("g. Tout choisir dans la case", ["ctrl+a"])
    L.type("g. Fichier à ouvrir, avec son extension", "essai.C11", then=("Return",))
    L.read_window("g. Après l'ouverture")
    L.step("h. Agrandir", ["alt+g"], settle=1.5)
    L.read_window("h. La fenêtre de l'agrandissement")
    L.step("h. Refermer l'agrandissement", ["Escape"])
    L.step("i. Calculatrice", ["alt+c"], settle=1.5)
    L.type("i. Un calcul", "(49*49)/(51*51)", then=("Return",))
    L.step("i. Refermer la calculatrice", ["Escape"])
    L.step("j. Menu Exercices", ["alt+x"])
    L.step("j. Enregistrer le contenu de la fenêtre exercice", ["Down", "Down"])
    L.step("j. Choisir", ["Return"], settle=1.5)
    L.read_window("j. La fenêtre d'enregistrement du texte")
    L.type("j. Nom du texte", "reponses", then=("Return",))
    L.step("Fermer le programme", ["alt+f"], settle=1)
    L.read_window("La question qui s'ouvre")
    L.step("Ne pas fermer (Échap)", ["Escape"])
    L.read_window("j. Après l'enregistrement")
    for f in L.faults:
        print("DÉFAUT: " + f)
    return 1 if L.faults else 0


if __name__ == "__main__":
    bus.read = run
    sys.exit(bus.main())

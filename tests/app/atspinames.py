"""Reads the window's accessibility tree over AT-SPI, as a screen reader does, and checks that
every field is named and tied to its label, that the log is named, and that the selected mode
is told apart, also after a switch. Run by withatspi.sh: python3 atspinames.py PROGRAM"""

import sys
import time

import pyatspi

from windowprocess import WindowEnded, WindowProcess

FIELDS = {  # name: (role, the label it is labelled by, named as the field)
    "COM fra": ("text", "COM fra"),
    "COM til": ("text", "COM til"),
    "Hastighet": ("combo box", "Hastighet"),
    "Pause (ms)": ("text", "Pause (ms)"),
    "IP-adresse": ("text", "IP-adresse"),
    "Logg": ("text", None),
}
TIMEOUT_S = 30


def walk(node, depth=0, found=None):
    found = [] if found is None else found
    if node is None:
        return found
    found.append((depth, node))
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), depth + 1, found)
    return found


def labels_of(node):
    result = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            result += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return result


def find_application(window):
    deadline = time.time() + TIMEOUT_S
    while time.time() < deadline:
        window.check()
        for application in pyatspi.Registry.getDesktop(0):
            try:
                if application is not None and application.get_process_id() == window.pid:
                    if application.childCount > 0:
                        return application
            except Exception:  # an application that went away while being asked
                pass
        time.sleep(0.2)
    return None


def descriptions(application):
    return {node.name: node.description for _, node in walk(application)
            if node.getRoleName() == "push button" and node.name in ("Serieport", "Nettverk")}


def wait_for(condition):
    deadline = time.time() + TIMEOUT_S
    while time.time() < deadline:
        if condition():
            return True
        time.sleep(0.1)
    return False


def main():
    window = WindowProcess([sys.argv[1]])
    failures = []
    try:
        application = find_application(window)
        if application is None:
            print("FAIL: the window never appeared on the accessibility bus\n"
                  + window.what_was_said())
            return 1
        nodes = walk(application)
        for depth, node in nodes:
            print("%s%s %r description=%r labelled-by=%r" % (
                "  " * depth, node.getRoleName(), node.name, node.description, labels_of(node)))
        for name, (role, label) in FIELDS.items():
            named = [node for _, node in nodes if node.name == name and node.getRoleName() == role]
            if not named:
                failures.append("no %s named %r" % (role, name))
                continue
            node = named[0]
            if label is not None and label not in labels_of(node):
                failures.append("%r is not labelled by %r" % (name, label))
        if descriptions(application) != {"Serieport": "Valgt", "Nettverk": "Serieport er valgt"}:
            failures.append("at start: %r" % descriptions(application))

        network = [node for _, node in nodes if node.name == "Nettverk"
                   and node.getRoleName() == "push button"][0]
        action = network.queryAction()
        action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))
        if not wait_for(lambda: descriptions(application) ==
                        {"Serieport": "Nettverk er valgt", "Nettverk": "Valgt"}):
            failures.append("after Nettverk: %r" % descriptions(application))
    except WindowEnded as ended:
        failures.append(str(ended))
    finally:
        window.stop()
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("PASS: %d names, their labels and the selected mode read over AT-SPI" % len(FIELDS))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

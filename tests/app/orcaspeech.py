"""Works the window by keyboard alone with Orca listening, as a blind support-desk user would,
and checks what Orca spoke: every field by its name with its whole value, the selected mode,
the verdict of a test once as it is written (a healthy printer and one with its print head
open, both played by printer-sim on loopback addresses), the outcome of the log's buttons,
and no verdict left over once the log is cleared. Run by withorca.sh:
    python3 orcaspeech.py WINDOW_PROGRAM PRINTER_SIM"""

import os
import re
import subprocess
import sys
import time

from windowprocess import WindowProcess

TIMEOUT_S = 30
# The screen reader itself stopped: the accessibility registry could not hand the window's key
# presses to Orca (Qt reports each such key on standard error), seen now and then when Orca
# falls behind on a loaded machine. withorca.sh then runs the whole session once more.
ORCA_STALLED = 75
HEALTHY = "127.0.0.121"
HEAD_OPEN = "127.0.0.122"


class Transcript:
    """What Orca has spoken so far, one utterance after another, read from the file that the
    speech server's only voice writes; a mark is a position in it."""

    def __init__(self, path):
        self.path = path
        self.window = None  # checked while waiting: a window that ended early fails at once
        self.keys_unanswered = False  # Orca did not take the window's key presses

    def text(self):
        with open(self.path, encoding="utf-8", errors="replace") as spoken:
            return " ".join(spoken.read().split())

    def mark(self):
        return len(self.text())

    def since(self, mark):
        return self.text()[mark:]

    def wait_for(self, mark, pattern, what, timeout=TIMEOUT_S):
        """Waits until Orca has spoken the pattern after the mark; returns what it spoke."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.window is not None:
                self.window.check()
            spoken = self.since(mark)
            if re.search(pattern, spoken):
                return spoken
            time.sleep(0.05)
        raise AssertionError("Orca did not say %s (%r) within %d s; it said: %r"
                             % (what, pattern, timeout, self.since(mark)))


def key(*names):
    for name in names:
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "60", text], check=True)


def start_printer(sim, address, status):
    printer = subprocess.Popen([sim, "--address", address, "--status", status, "--labels", "500"],
                               stderr=subprocess.PIPE, text=True)
    line = printer.stderr.readline()
    if "printer-sim: ready: " not in line:
        raise AssertionError("printer-sim on %s did not start: %r" % (address, line))
    return printer


def run(program, sim, transcript):
    failures = []

    def step(keys, pattern, what, forbidden=None):
        mark = transcript.mark()
        if keys:
            key(*keys)
        spoken = transcript.wait_for(mark, pattern, what)
        print("  %-28s %s" % (" ".join(keys) or "(start)", spoken))
        if forbidden and re.search(forbidden, spoken):
            failures.append("%s: Orca also said %r" % (what, forbidden))
        return spoken

    def spoken_once(mark, text, what):
        count = transcript.since(mark).count(text)
        if count != 1:
            failures.append("%s: %r spoken %d times in %r"
                            % (what, text, count, transcript.since(mark)))

    mark = transcript.mark()
    window = WindowProcess([program])
    transcript.window = window
    try:
        transcript.wait_for(mark, r"Avslutt push button", "the first focus")
        print("  %-28s %s" % ("(start)", transcript.since(mark)))
        # The serial frame, Tab by Tab from "Avslutt".
        step(["Tab"] * 5, r"Hjelp push button", "Hjelp")
        step(["Tab"], r"Pause \(ms\) text\. 350 selected", "the pause, whole")
        step(["Tab"], r"Hastighet editable combo box\. 19200\b", "the speed, whole")
        step(["Tab"], r"COM til text\. 16 selected", "the last port, whole")
        step(["Tab"], r"COM fra text\. 1 selected", "the first port, whole")
        step(["Tab"], r"Nettverk push button\. Serieport er valgt", "the selected mode")
        # To network mode: the address, whole and selected, so typing replaces it.
        step(["space"], r"IP-adresse text\. 127\.0\.0\.1 selected",
             "the address after the switch")
        mark = transcript.mark()
        type_text(HEAD_OPEN)
        transcript.wait_for(mark, r"2\W*$", "the typed address")
        step(["Tab"], r"Serieport push button\. Nettverk er valgt", "the selected mode again")
        step(["Tab"] * 4, r"Test skriver push button", "Test skriver")

        # A printer with its head open: its error, once, as the test writes it.
        mark = transcript.mark()
        step(["space"], r"FEIL: Off line, Skriverfeil - Skrivehodet åpent b000500",
             "the head-open verdict")
        step(["Tab"] * 4, r"IP-adresse text\. 127\.0\.0\.122 selected",
             "the typed address, whole")
        spoken_once(mark, "Skrivehodet åpent", "the head-open verdict")

        # A healthy printer.
        mark = transcript.mark()
        type_text(HEALTHY)
        transcript.wait_for(mark, r"1\W*$", "the typed address")
        step(["Tab"] * 5, r"Test skriver push button", "Test skriver")
        mark = transcript.mark()
        step(["space"], r"Printer er online, og klar til utskrift", "the online verdict")
        step(["Tab"], r"Blank loggen push button", "Blank loggen")
        spoken_once(mark, "Printer er online", "the online verdict")

        # The log's buttons tell what they did; an empty log tells no old verdict.
        step(["space"], r"Loggen er tom", "the cleared log")
        mark = transcript.mark()
        step(["shift+Tab"], r"Logg read only text", "the empty log")
        step(["Tab", "Tab"], r"Kopier tekst push button", "Kopier tekst")
        if "Printer er online" in transcript.since(mark):
            failures.append("the cleared log still told the old verdict: %r"
                            % transcript.since(mark))
        step(["space"], r"Loggen er kopiert til utklippstavlen", "the copied log")
        step(["Tab"], r"Hjelp push button", "Hjelp")
        step(["space"], r"Hjelpeteksten står i loggen", "where the guide went")
        step(["Tab", "Tab", "Tab"], r"Lukk sockets push button", "Lukk sockets")
        step(["space"], r"Lukker porter manuelt", "the closed sockets")
    finally:
        transcript.window = None
        window.stop()
        transcript.keys_unanswered = window.said("QSpiApplication::keyEventError")
    return failures


def main():
    program, sim = sys.argv[1], sys.argv[2]
    transcript = Transcript(os.environ["ORCA_TRANSCRIPT"])
    # Orca is ready once it has said so; its start is slow on a busy machine.
    transcript.wait_for(0, r"Screen reader on", "that it is on", timeout=90)
    printers = [start_printer(sim, HEALTHY, "A"), start_printer(sim, HEAD_OPEN, "b")]
    try:
        failures = run(program, sim, transcript)
    except AssertionError as error:
        failures = [str(error)]
    finally:
        for printer in printers:
            printer.terminate()
            printer.wait()
    print("Transcript:\n" + open(transcript.path, encoding="utf-8", errors="replace").read())
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("PASS: Orca spoke the names, whole values, selected mode, verdicts and outcomes")
        return 0
    if transcript.keys_unanswered:
        print("STALLED: Orca did not take the window's key presses (keyEventError above)")
        return ORCA_STALLED
    return 1


if __name__ == "__main__":
    sys.exit(main())

"""Works the window by keyboard alone with Orca listening, as a blind support-desk user would,
and checks what Orca spoke: every field by its name with its whole value, the selected mode,
a test's start (soon after the key) and its verdict once as it is written (a healthy printer,
one with its print head open and one that stays silent, played by printer-sim on loopback
addresses), the verdict again on "where am I", the outcome of the log's buttons, also of one
pressed while a test runs, and no verdict left over once the log is cleared; then a serial
sweep over printer-sim's pseudo-terminal as COM1 and a missing device as COM2 (through
SOLVARN_COM_PORTS) with a pause the test corrects. Run by withorca.sh:
    python3 orcaspeech.py WINDOW_PROGRAM PRINTER_SIM"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from windowprocess import WindowProcess

TIMEOUT_S = 30
# The screen reader itself stopped: the accessibility registry could not hand the window's key
# presses to Orca (Qt reports each such key on standard error), seen now and then when Orca
# falls behind on a loaded machine. withorca.sh then runs the whole session once more.
ORCA_STALLED = 75
HEALTHY = "127.0.0.121"
HEAD_OPEN = "127.0.0.122"
SILENT = "127.0.0.123"
# How soon after the key a test's start is to be spoken.
START_SPOKEN_S = 1.5


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


def start_printer(sim, where, status, *more):
    """A printer at an address, or with --serial on a pseudo-terminal."""
    where_options = ["--serial", "--link", where] if where.startswith("/") else ["--address", where]
    printer = subprocess.Popen([sim, *where_options, "--status", status, "--labels", "500", *more],
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    line = printer.stderr.readline()
    if "printer-sim: ready: " not in line:
        raise AssertionError("printer-sim on %s did not start: %r" % (where, line))
    return printer


def run(program, sim, transcript, com_ports):
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

    def started_soon(keys, pattern, what):
        """Presses the keys; the test's start is to be spoken within START_SPOKEN_S."""
        mark = transcript.mark()
        pressed = time.time()
        key(*keys)
        spoken = transcript.wait_for(mark, pattern, what, timeout=TIMEOUT_S)
        took = time.time() - pressed
        print("  %-28s %s (%.2f s)" % (" ".join(keys), spoken, took))
        if took > START_SPOKEN_S:
            failures.append("%s spoken %.2f s after the key" % (what, took))
        return mark

    def type_and_hear(text, what):
        """Types over a field's selection; Orca echoes the last character typed."""
        mark = transcript.mark()
        type_text(text)
        transcript.wait_for(mark, r"\b%s\b" % re.escape(text[-1]), what)

    mark = transcript.mark()
    window = WindowProcess([program], env=dict(os.environ, SOLVARN_COM_PORTS=com_ports))
    transcript.window = window
    try:
        transcript.wait_for(mark, r"Avslutt push button", "the first focus")
        print("  %-28s %s" % ("(start)", transcript.since(mark)))
        # The serial frame, Tab by Tab from "Avslutt".
        step(["Tab"] * 5, r"Hjelp push button", "Hjelp")
        step(["Tab"], r"Pause \(ms\) text\. 350 selected", "the pause, whole")
        # Leaving a field, its selection cleared by the toolkit, is not told.
        unselected = r"Text unselected"
        step(["Tab"], r"Hastighet editable combo box\. 19200\b", "the speed, whole", unselected)
        step(["Tab"], r"COM til text\. 16 selected", "the last port, whole", unselected)
        step(["Tab"], r"COM fra text\. 1 selected", "the first port, whole", unselected)
        step(["Tab"], r"Nettverk push button\. Serieport er valgt", "the selected mode",
             unselected)
        # To network mode: the address, whole and selected, so typing replaces it.
        step(["space"], r"IP-adresse text\. 127\.0\.0\.1 selected",
             "the address after the switch")
        mark = transcript.mark()
        type_text(HEAD_OPEN)
        transcript.wait_for(mark, r"2\W*$", "the typed address")
        step(["Tab"], r"Serieport push button\. Nettverk er valgt", "the selected mode again")
        step(["Tab"] * 4, r"Test skriver push button", "Test skriver")

        # A printer with its head open: the start told at once, no old log line read, then
        # its error, once, as the test writes it.
        mark = started_soon(["space"], r"Tester skriveren på 127\.0\.0\.122, svar innen omtrent "
                            r"6 sekunder", "the network test's start")
        transcript.wait_for(mark, r"FEIL: Off line, Skriverfeil - Skrivehodet åpent b000500",
                            "the head-open verdict")
        if "Kvanta" in transcript.since(mark) or "**" in transcript.since(mark):
            failures.append("an old log line or the stars were read at the start: %r"
                            % transcript.since(mark))
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
        spoken_once(mark, "Printer er online", "the online verdict")
        # Heard again on request: the log's caret stands on the verdict.
        step(["KP_Enter"], r"Logg read only text\.? \*?Printer er online, og klar til utskrift",
             "the verdict again")
        step(["Tab"], r"Blank loggen push button", "Blank loggen")

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

        # A printer that connects and stays silent; "Blank loggen" pressed while the test runs:
        # its outcome and the verdict both heard.
        step(["shift+Tab", "shift+Tab"], r"IP-adresse text\. 127\.0\.0\.1\d\d selected",
             "the address")
        mark = transcript.mark()
        type_text(SILENT)
        transcript.wait_for(mark, r"3\W*$", "the typed address")
        step(["Tab"] * 5, r"Test skriver push button", "Test skriver")
        mark = started_soon(["space"], r"Tester skriveren på 127\.0\.0\.123",
                            "the silent printer's start")
        step(["Tab"], r"Blank loggen push button", "Blank loggen during the test")
        step(["space"], r"Loggen er tom", "the cleared log during the test")
        transcript.wait_for(mark, r"Finner ikke skriver på IP-adresse 127\.0\.0\.123",
                            "the silent printer's verdict")
        spoken_once(mark, "Loggen er tom", "the cleared log during the test")
        spoken_once(mark, "Finner ikke skriver", "the silent printer's verdict")

        # A serial sweep of COM2 alone, no device: a pause of 5 is corrected to 10.
        step(["Tab"] * 4, r"Serieport push button", "Serieport")
        step(["space"], r"Pause \(ms\) text\. 350 selected", "the pause after the switch")
        type_and_hear("5", "the typed pause")
        step(["Tab", "Tab"], r"COM til text\. 16 selected", "the last port")
        type_and_hear("2", "the typed last port")
        step(["Tab"], r"COM fra text\. 1 selected", "the first port")
        type_and_hear("2", "the typed first port")
        step(["Tab", "Tab", "Tab"], r"Test skriver push button", "Test skriver")
        mark = transcript.mark()
        step(["space"], r"Pausen er rettet til 10 ms\. Tester com2 med hastighet 19200 og pause "
             r"10 ms, ferdig innen ett sekund\..*Ingen skriver svarte\. com2 finnes ikke\.",
             "the corrected pause and the missing port")
        spoken_once(mark, "Pausen er rettet", "the corrected pause")

        # COM1 a printer, COM2 no device, at a pause a loaded machine's simulator keeps.
        step(["Tab"] * 4, r"Pause \(ms\) text\. 10 selected", "the corrected pause, whole")
        type_and_hear("1000", "the typed pause")
        step(["Tab", "Tab", "Tab"], r"COM fra text\. 2 selected", "the first port")
        type_and_hear("1", "the typed first port")
        step(["Tab", "Tab", "Tab"], r"Test skriver push button", "Test skriver")
        mark = transcript.mark()
        step(["space"], r"Tester com1 til com2 med hastighet 19200 og pause 1000 ms, ferdig innen "
             r"omtrent 2 sekunder\..*com1: - Skriver OK -\. com2 finnes ikke\.", "the sweep")
        spoken_once(mark, "com2 finnes ikke", "the sweep's verdict")
        step(["KP_Enter"], r"Logg read only text\.? - Skriver OK -", "the sweep's verdict again")
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
    devices = tempfile.mkdtemp(prefix="orcaspeech-")
    com1 = os.path.join(devices, "printer0")
    printers = [start_printer(sim, HEALTHY, "A"), start_printer(sim, HEAD_OPEN, "b"),
                start_printer(sim, SILENT, "A", "--timing", "enq"), start_printer(sim, com1, "A")]
    try:
        failures = run(program, sim, transcript,
                       ":".join([com1, os.path.join(devices, "no-such-device")]))
    except AssertionError as error:
        failures = [str(error)]
    finally:
        for printer in printers:
            printer.terminate()
            printer.wait()
    print("Transcript:\n" + open(transcript.path, encoding="utf-8", errors="replace").read())
    shutil.rmtree(devices, ignore_errors=True)
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

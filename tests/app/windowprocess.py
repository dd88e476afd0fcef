"""The window's program, started for a test on a virtual display. A test that waits for the
window checks on it while it waits: when the program has ended early (no display, a missing
library, a crash), the test fails at once with the program's standard error (the script that gave the display
adds the display's log), instead of waiting out its whole timeout."""

import subprocess
import sys
import threading


class WindowEnded(AssertionError):
    pass


class WindowProcess:
    def __init__(self, argv, env=None):
        self._errors = []
        self.process = subprocess.Popen(argv, env=env, stderr=subprocess.PIPE)
        self.pid = self.process.pid
        # Passed on as it comes, and kept for the report.
        self._reader = threading.Thread(target=self._pass_on_errors, daemon=True)
        self._reader.start()

    def _pass_on_errors(self):
        for line in self.process.stderr:
            self._errors.append(line)
            sys.stderr.buffer.write(line)
            sys.stderr.buffer.flush()

    def check(self):
        """Raises WindowEnded, saying why, once the program has ended."""
        status = self.process.poll()
        if status is not None:
            self._reader.join(timeout=5)
            raise WindowEnded("the window's program ended early with status %d\n%s"
                              % (status, self.what_was_said()))

    def said(self, text):
        """Whether the program has written the text on its standard error."""
        return text.encode() in b"".join(self._errors)

    def what_was_said(self):
        # The scripts that give the display show its log when a test fails.
        return "--- its standard error:\n" + b"".join(self._errors).decode("utf-8", "replace")

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._reader.join(timeout=5)

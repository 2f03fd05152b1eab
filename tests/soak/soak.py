#!/usr/bin/env python3
"""Long attacks on a real Quorvane, kept beside the test suite (they take
minutes). Each runs the built program in a fresh, isolated home folder.

    python3 tests/soak/soak.py kill [CYCLES]       SIGKILL at random moments
    python3 tests/soak/soak.py requests [SECONDS]  10 requests a second
    python3 tests/soak/soak.py idle [SAMPLES]      ping latency with idle clients

The program is build/default/src/quorvane unless QUORVANE names another.
"""
import json
import os
import random
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PROGRAM = os.environ.get("QUORVANE", os.path.join(ROOT, "build/default/src/quorvane"))


class Session:
    def __init__(self):
        self.home = tempfile.mkdtemp(prefix="quorvane-soak-")
        run = os.path.join(self.home, "run")
        os.makedirs(run, mode=0o700)
        self.env = dict(os.environ, HOME=self.home, XDG_RUNTIME_DIR=run, DISPLAY="",
                        QT_QPA_PLATFORM="offscreen")
        self.socket = os.path.join(run, "quorvane", "control.sock")
        self.records = os.path.join(self.home, ".local/share/com.tarnvell.Quorvane/Default")
        self.process = None

    def start(self):
        self.process = subprocess.Popen([PROGRAM], env=self.env, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        line = self.process.stdout.readline()
        if line.strip() != "Quorvane is running.":
            raise SystemExit("the program did not start: " + line)

    def command(self, *arguments):
        return subprocess.run([PROGRAM, *arguments], env=self.env, capture_output=True,
                              text=True, timeout=30).returncode

    def request(self, payload, timeout=15):
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as client:
            client.settimeout(timeout)
            client.connect(self.socket)
            client.sendall((json.dumps(payload) + "\n").encode())
            answer = b""
            while not answer.endswith(b"\n"):
                chunk = client.recv(65536)
                if not chunk:
                    break
                answer += chunk
            return json.loads(answer or b"null")

    def rss_kib(self):
        with open("/proc/%d/status" % self.process.pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0

    def fds(self):
        return len(os.listdir("/proc/%d/fd" % self.process.pid))

    def stop(self, sig=signal.SIGTERM):
        self.process.send_signal(sig)
        self.process.wait(timeout=30)


def kill_soak(cycles):
    """Changes a persisted toggle, kills the program at a random moment,
    starts it again: no change older than 1.2 s may be lost, no record
    may be torn."""
    session = Session()
    lost = torn = 0
    state = False
    for cycle in range(cycles):
        session.start()
        changed_at = None
        deadline = time.monotonic() + random.uniform(0.05, 2.0)
        while time.monotonic() < deadline:
            state = not state
            session.request({"command": "set", "id": "SnapWindowsTask", "on": state})
            changed_at = time.monotonic()
            time.sleep(random.uniform(0.0, 0.6))
        killed_at = time.monotonic()
        session.stop(signal.SIGKILL)
        for name in os.listdir(session.records):
            if name.endswith(".json"):
                try:
                    with open(os.path.join(session.records, name)) as record:
                        json.load(record)
                except ValueError:
                    torn += 1
        with open(os.path.join(session.records, "pState.json")) as record:
            stored = json.load(record).get("snapsWindows")
        if changed_at is not None and killed_at - changed_at > 1.2 and stored != state:
            lost += 1
        state = bool(stored)
    temporaries = [n for n in os.listdir(session.records) if n.startswith(".")]
    print("kill soak: %d cycles, %d changes older than 1.2 s lost, %d torn records, "
          "%d temporaries left" % (cycles, lost, torn, len(temporaries)))
    return lost == 0 and torn == 0


def request_soak(seconds):
    """Ten requests a second of every kind; RSS and open files must stay flat."""
    session = Session()
    session.start()
    time.sleep(3)  # past the re-applied toggles
    rss_start, fds_start = session.rss_kib(), session.fds()
    requests = [
        {"command": "ping"},
        {"command": "list"},
        {"command": "set", "id": "SnapWindowsTask", "on": True},
        {"command": "set", "id": "SnapWindowsTask", "on": False},
        {"command": "runNamed", "name": "Clear clipboard"},
        {"command": "runNamed", "name": "Get IP Address"},  # shows an alert each time
        {"command": "toggleNamed", "name": "Auto Hide Dock", "on": True},
        {"command": "nonsense"},
    ]
    sent = failed = 0
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        for payload in requests:
            answer = session.request(payload)
            sent += 1
            if not answer or (not answer.get("ok") and payload["command"] != "nonsense"):
                failed += 1
            time.sleep(0.1)
    time.sleep(2)
    rss_end, fds_end = session.rss_kib(), session.fds()
    session.stop()
    print("request soak: %d requests in %d s, %d failed; RSS %d -> %d KiB (%+d), fds %d -> %d"
          % (sent, seconds, failed, rss_start, rss_end, rss_end - rss_start, fds_start, fds_end))
    return failed == 0 and rss_end - rss_start < 2048 and fds_end <= fds_start


def idle_latency(samples):
    """Ping while clients hold connections that send nothing or half a line."""
    session = Session()
    session.start()
    holders = []
    for index in range(10):
        holder = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        holder.connect(session.socket)
        if index % 2:
            holder.sendall(b'{"command":"pi')
        holders.append(holder)
    latencies = []
    for _ in range(samples):
        started = time.monotonic()
        answer = session.request({"command": "ping"})
        latencies.append((time.monotonic() - started) * 1000)
        assert answer and answer.get("ok"), answer
    for holder in holders:
        holder.close()
    session.stop()
    print("idle clients: ping with 10 idle or half-line clients held open: median %.1f ms, "
          "max %.1f ms over %d pings" % (statistics.median(latencies), max(latencies), samples))
    return max(latencies) < 100


if __name__ == "__main__":
    which = sys.argv[1] if len(sys.argv) > 1 else ""
    amount = int(sys.argv[2]) if len(sys.argv) > 2 else None
    runs = {"kill": lambda: kill_soak(amount or 100),
            "requests": lambda: request_soak(amount or 300),
            "idle": lambda: idle_latency(amount or 200)}
    if which not in runs:
        raise SystemExit(__doc__)
    sys.exit(0 if runs[which]() else 1)
